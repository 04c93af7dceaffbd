#pragma once
// A page control whose tabs wrap into several rows, the row of the current tab next to the
// pages, as the window's design has it (Qt's tab bar only scrolls a single row).
#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

class QStackedWidget;

namespace vorl {

class PageControl : public QWidget {
  Q_OBJECT
 public:
  explicit PageControl(QWidget* parent);
  ~PageControl() override;

  // Adds a page (a tab sheet) under caption; objectName is the sheet's design name.
  QWidget* addPage(const QString& objectName, const QString& caption);
  int count() const { return static_cast<int>(tabs_.size()); }
  QWidget* page(int index) const;
  QString caption(const QWidget* page) const;

  // A hidden page has no tab; hiding the current page makes the first visible page current.
  void setPageVisible(QWidget* page, bool visible);
  bool isPageVisible(const QWidget* page) const;
  // Captions of the visible tabs, in page order.
  QStringList visibleCaptions() const;

  QWidget* currentPage() const { return current_; }
  // Makes page current; currentChanged is emitted when it was not current already.
  void setCurrentPage(QWidget* page);
  // Where the page's tab is drawn (empty for a hidden page).
  QRect tabRect(const QWidget* page) const;
  int rowCount() const { return rows_; }

 signals:
  void currentChanged(QWidget* page);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  struct Tab {
    QWidget* page = nullptr;
    QString caption;
    bool visible = true;
    QRect rect;
    int row = 0;
  };
  const Tab* findTab(const QWidget* page) const;
  void layoutTabs();
  std::vector<std::vector<Tab*>> wrapIntoRows();
  void placeRows(std::vector<std::vector<Tab*>>& rows);
  int rowHeight() const;
  QSize tabSize(const QString& caption) const;

  std::vector<Tab> tabs_;
  QWidget* current_ = nullptr;
  QStackedWidget* stack_;
  int rows_ = 1;
};

}  // namespace vorl
