#pragma once
// The About box: names the product and its version. Created for each showing and destroyed after.
#include <QDialog>

class TAboutBox : public QDialog {
  Q_OBJECT
 public:
  explicit TAboutBox(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;  // centred on the screen, not on the main window
};
