#pragma once
// The "Report definition file" dialog (fmReportDef): one edit box with the name of the report
// definition file, OK and Cancel. It reads and writes no setting itself; the menu handler does.
#include <QDialog>

class QLineEdit;
class QPushButton;

namespace reports {

class TfmReportDef : public QDialog {
  Q_OBJECT
 public:
  explicit TfmReportDef(QWidget* owner = nullptr);

  QPushButton* bbOK;
  QPushButton* BitBtn2;
  QLineEdit* eReportFileName;
};

}  // namespace reports
