#pragma once
// The editing password dialog: created once at start and reused; its only behaviour is that of
// its controls.
#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

class TfmGetEditPassword : public QDialog {
  Q_OBJECT
 public:
  explicit TfmGetEditPassword(QWidget* parent = nullptr);

  // The whole text of the password box (kept between showings).
  QString password() const;

 private:
  QLineEdit* eEditPassword;
  QPushButton* bbOK;
  QPushButton* bbCancel;
};
