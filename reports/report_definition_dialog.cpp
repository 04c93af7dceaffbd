#include "reports/report_definition_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "report_engine/report_form_support.h"

using reporting::place;

namespace reports {

TfmReportDef::TfmReportDef(QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("fmReportDef"));
  setWindowTitle(QStringLiteral("Report definition file"));
  QFont font = reporting::designFont(QStringLiteral("MS Sans Serif"), 8);
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Arial")});  // Arial where it is absent
  setFont(font);
  resize(388, 67);  // 396 by 94 with a sizeable frame and the title bar
  move(138, 167);

  // Created in tab order: OK, Cancel, the edit box.
  bbOK = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this), "bbOK",
               308, 8, 75, 25);
  bbOK->setDefault(true);
  BitBtn2 = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this),
                  "BitBtn2", 308, 36, 75, 25);
  eReportFileName = place(new QLineEdit(this), "eReportFileName", 4, 24, 293, 21);
  setTabOrder(bbOK, BitBtn2);
  setTabOrder(BitBtn2, eReportFileName);
  connect(bbOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects as well
  bbOK->setFocus();
}

}  // namespace reports
