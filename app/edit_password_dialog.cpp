#include "app/edit_password_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "app/form_builder.h"

using vorl::place;

TfmGetEditPassword::TfmGetEditPassword(QWidget* parent) : QDialog(parent) {
  setObjectName("fmGetEditPassword");
  setWindowTitle("Enter password to allow editing");
  QFont font("Arial");
  font.setPixelSize(11);
  setFont(font);
  setFixedSize(288, 68);  // 296 by 95 with the frame and title bar
  move(228, 177);

  eEditPassword = place(new QLineEdit(this), "eEditPassword", 12, 20, 173, vorl::kEditHeight);
  eEditPassword->setEchoMode(QLineEdit::Password);
  eEditPassword->setStyleSheet("lineedit-password-character: 42");  // "*" for every character
  bbOK = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), "OK", this), "bbOK", 200, 8, 75, 25);
  bbOK->setDefault(true);
  bbCancel = place(new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Cancel", this), "bbCancel",
                   200, 36, 75, 25);
  connect(bbOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(bbCancel, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects as well
  eEditPassword->setFocus();
}

QString TfmGetEditPassword::password() const { return eEditPassword->text(); }
