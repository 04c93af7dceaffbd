// The editing password gate and what it reveals, and the date stamp.
#include <QDate>
#include <QLabel>
#include <QPushButton>

#include "app/edit_password_dialog.h"
#include "app/main_window.h"
#include "data/dm_vorl.h"
#include "db_engine/format_settings.h"
#include "ui/data_controls.h"
#include "ui/dialog_seam.h"

namespace {

// Compared whole and with regard to letter case.
const QString kEditPassword = "BoxFern";
constexpr int kYearsColumn = 2;

}  // namespace

void TfmVORL1::askEditPassword() {
  if (ui::dialogs().exec(*fmGetEditPassword_) != QDialog::Accepted) return;
  if (fmGetEditPassword_->password() != kEditPassword) return;
  revealMaintenanceItems();
}

void TfmVORL1::revealMaintenanceItems() {
  lYears->show();
  dbeYears->show();
  bbDateStamp->show();
  dbgSubUnit->setColumnVisible(kYearsColumn, true);
  dbgSubSubUnit->setColumnVisible(kYearsColumn, true);
}

void TfmVORL1::bbDateStampClick() {
  // Today's date is handed over as text in the user's short date format, as typed into a box.
  const QString today = QDate::currentDate().toString(QString::fromStdString(engine::formatSettings().shortDateFormat));
  try {
    engine::Dataset& units = dm().VORLList;
    units.edit();
    units.fieldByName("DateModified").setAsString(today.toStdString());
    units.post();
  } catch (...) {
    ui::showWarning(this, "Unable to update date for this record");
  }
}
