#pragma once
// The "Report Preview" window: shows the generated pages at a zoom, moves between them and prints
// them. Sizeable; a tool bar on top and the page in a scroll area below.
#include <QDialog>

#include "report_engine/report_document.h"

class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;
class QKeyEvent;

namespace reporting {

class TReportSystem;

class TReportPreviewForm : public QDialog {
  Q_OBJECT
 public:
  TReportPreviewForm(TReportSystem& system, const ReportDocument& document, QWidget* parent = nullptr);
  ~TReportPreviewForm() override;

  double zoom() const { return zoom_; }
  int currentPage() const { return page_; }  // from 1
  int pageCount() const { return static_cast<int>(document_.pages.size()); }

  // Below 10 is raised to 10, above 200 lowered to 200; a negative factor picks a fitted zoom:
  // -1.9 or less fits the page width, any other the whole page.
  void setZoom(double factor);
  void zoomPageWidth();
  void zoomWholePage();
  void goToPage(int page);  // kept within the pages

  QWidget* ToolBar;
  QToolButton* SBZoomIn;
  QToolButton* SBZoomOut;
  QToolButton* SBZoomPageWidth;
  QToolButton* SBZoomPage;
  QToolButton* SBPrevPage;
  QToolButton* SBNextPage;
  QToolButton* SBPrint;
  QToolButton* SBDone;
  QLabel* Label1;
  QLineEdit* ZoomEdit;
  QLabel* Label2;
  QLineEdit* PageEdit;
  QLabel* PageLabel;
  QScrollArea* ScrollBox;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class PageView;

  void SBPrintClick();
  void ZoomEditExit();
  void PageEditExit();
  bool scrollKey(const QKeyEvent& key);
  double pixelsPerMillimetreAt(double factor) const;
  void showZoom();
  void showPage();

  TReportSystem& system_;
  const ReportDocument& document_;
  PageView* view_;
  double zoom_;
  int page_ = 1;
};

}  // namespace reporting
