#pragma once
// The "Report Setup" dialog: in destination mode at the start of a run (printer, preview or file,
// and the copies), in range mode before the preview prints (all pages, a selection or From..to).
// OK writes the choices into the output system.
#include <QDialog>

#include "report_engine/report_system.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace reporting {

class TReportSetupForm : public QDialog {
  Q_OBJECT
 public:
  enum class Mode { Destination, Range };
  // pageCount: the generated pages, for range mode's initial texts.
  TReportSetupForm(TReportSystem& system, Mode mode, int pageCount = 0, QWidget* parent = nullptr);

  Mode mode() const { return mode_; }
  // The pages chosen in range mode, after OK.
  const PrintRange& range() const { return range_; }

  void accept() override;

  QGroupBox* GroupBox1;
  QLabel* PrinterLabel;
  QGroupBox* DestGB;
  QRadioButton* PrinterRB;
  QRadioButton* PreviewRB;
  QRadioButton* FileRB;
  QLineEdit* FileNameED;
  QToolButton* FileNameSB;
  QGroupBox* RangeGB;
  QRadioButton* AllRB;
  QRadioButton* SelectionRB;
  QRadioButton* PagesRB;
  QLabel* SelectionLabel;
  QLineEdit* SelectionED;
  QLabel* FromLabel;
  QLineEdit* FromED;
  QLabel* ToLabel;
  QLineEdit* ToED;
  QGroupBox* GroupBox2;
  QLabel* CopiesLabel;
  QLineEdit* CopiesED;
  QCheckBox* CollateCK;
  QCheckBox* DuplexCK;
  QPushButton* OKBB;
  QPushButton* CancelBB;
  QPushButton* SetupBB;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void fillPrinterLabel();
  void destinationChosen();
  void rangeChosen();
  void FileNameSBClick();
  void SetupBBClick();
  void applyPrinterOptions();

  TReportSystem& system_;
  Mode mode_;
  bool havePrinter_ = false;
  PrintRange range_;
};

}  // namespace reporting
