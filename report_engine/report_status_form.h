#pragma once
// The "Report Status" window: counts the pages while a report is generated or printed, on the one
// user-interface thread, and offers Cancel. It has no title-bar buttons and cannot be closed from
// its frame; the run closes it when its stage is over.
#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace reporting {

class TReportStatusForm : public QDialog {
  Q_OBJECT
 public:
  TReportStatusForm(const QString& caption, const QString& statusFormat, QWidget* parent = nullptr);

  // Shows the status format for this page, lets the window repaint and take the Cancel click, and
  // answers whether the work goes on. Fits a PageProgress.
  bool pageDone(int page);
  bool cancelled() const { return cancelled_; }
  // Closes the window at the end of its stage.
  void finish();

  QLabel* StatusLabel;
  QPushButton* CancelButton;

 public slots:
  void reject() override;  // Escape cancels the work rather than closing the window

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  QString statusText(int page) const;

  QString statusFormat_;
  bool cancelled_ = false;
  bool finished_ = false;
};

}  // namespace reporting
