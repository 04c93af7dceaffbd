#include "app/export_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

#include "app/form_builder.h"

using vorl::place;

TfmExport::TfmExport(const QString& countryName, QWidget* owner) : QDialog(owner) {
  setObjectName(QStringLiteral("fmExport"));
  setWindowTitle(QStringLiteral("Export"));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(11);
  setFont(font);
  setFixedSize(343, 97);

  auto* units = place(new QGroupBox(QStringLiteral("Units"), this), "gbUnits", 8, 4, 241, 61);
  rbCurrentCountry = place(new QRadioButton(QStringLiteral("&Current country: %1").arg(countryName), units),
                           "rbCurrentCountry", 8, 16, 225, 17);
  rbAllCountries = place(new QRadioButton(QStringLiteral("&All countries"), units), "rbAllCountries", 8, 36, 225, 17);
  rbCurrentCountry->setChecked(true);
  cbWithdrawn = place(new QCheckBox(QStringLiteral("Include &withdrawn units"), this), "cbWithdrawn", 16, 72, 225, 17);
  bbOK = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this), "bbOK",
               260, 8, 75, 25);
  bbOK->setDefault(true);
  bbCancel = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this),
                   "bbCancel", 260, 36, 75, 25);
  connect(bbOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects as well
}
