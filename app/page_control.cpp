#include "app/page_control.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>
#include <algorithm>

#include "ui/scaling/form_controls.h"

namespace vorl {
namespace {

constexpr int kFrameWidth = 2;

}  // namespace

PageControl::PageControl(QWidget* parent) : QWidget(parent), stack_(new QStackedWidget(this)) {
  stack_->setAutoFillBackground(true);  // the pages hide the tab shapes behind them
  setProperty(ui::kContainerProperty, true);  // the pages' controls are the window's, to be scaled
}

PageControl::~PageControl() = default;

QWidget* PageControl::addPage(const QString& objectName, const QString& caption) {
  auto* page = new QWidget;
  page->setObjectName(objectName);
  stack_->addWidget(page);
  tabs_.push_back(Tab{page, caption, true, {}, 0});
  if (!current_) {
    current_ = page;
    stack_->setCurrentWidget(page);
  }
  layoutTabs();
  return page;
}

QWidget* PageControl::page(int index) const { return tabs_.at(static_cast<std::size_t>(index)).page; }

const PageControl::Tab* PageControl::findTab(const QWidget* page) const {
  const auto found = std::find_if(tabs_.begin(), tabs_.end(), [page](const Tab& tab) { return tab.page == page; });
  return found == tabs_.end() ? nullptr : &*found;
}

QString PageControl::caption(const QWidget* page) const {
  const Tab* tab = findTab(page);
  return tab ? tab->caption : QString();
}

void PageControl::setPageVisible(QWidget* page, bool visible) {
  Tab* tab = const_cast<Tab*>(findTab(page));
  if (!tab || tab->visible == visible) return;
  tab->visible = visible;
  if (!visible && current_ == page) {
    const auto first = std::find_if(tabs_.begin(), tabs_.end(), [](const Tab& each) { return each.visible; });
    if (first != tabs_.end()) setCurrentPage(first->page);
  }
  layoutTabs();
}

bool PageControl::isPageVisible(const QWidget* page) const {
  const Tab* tab = findTab(page);
  return tab && tab->visible;
}

QStringList PageControl::visibleCaptions() const {
  QStringList captions;
  for (const Tab& tab : tabs_)
    if (tab.visible) captions << tab.caption;
  return captions;
}

void PageControl::setCurrentPage(QWidget* page) {
  if (page == current_ || !isPageVisible(page)) return;
  current_ = page;
  stack_->setCurrentWidget(page);
  layoutTabs();
  emit currentChanged(page);
}

QRect PageControl::tabRect(const QWidget* page) const {
  const Tab* tab = findTab(page);
  return tab && tab->visible ? tab->rect : QRect();
}

// Rows as low as the design's tabs, so that two rows leave the pages their designed height.
int PageControl::rowHeight() const { return fontMetrics().height() + 6; }

QSize PageControl::tabSize(const QString& caption) const {
  QStyleOptionTab option;
  option.initFrom(this);
  option.text = caption;
  option.shape = QTabBar::RoundedNorth;
  // As Qt's own tab bar measures a tab: the text plus the style's spacing, then the style's frame.
  const QSize contents(fontMetrics().horizontalAdvance(caption) + style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this),
                       fontMetrics().height() + style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this));
  return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this);
}

std::vector<std::vector<PageControl::Tab*>> PageControl::wrapIntoRows() {
  std::vector<std::vector<Tab*>> rows(1);
  int used = 0;
  for (Tab& tab : tabs_) {
    if (!tab.visible) continue;
    const int tabWidth = tabSize(tab.caption).width();
    if (used + tabWidth > width() && !rows.back().empty()) {
      rows.emplace_back();
      used = 0;
    }
    tab.rect.setWidth(tabWidth);
    rows.back().push_back(&tab);
    used += tabWidth;
  }
  return rows;
}

// Several rows are stretched to the full width; the current tab's row goes next to the pages.
void PageControl::placeRows(std::vector<std::vector<Tab*>>& rows) {
  const auto currentRow = std::find_if(rows.begin(), rows.end(), [this](const std::vector<Tab*>& row) {
    return std::any_of(row.begin(), row.end(), [this](const Tab* tab) { return tab->page == current_; });
  });
  if (currentRow != rows.end()) std::rotate(currentRow, currentRow + 1, rows.end());
  const bool stretch = rows.size() > 1;
  for (std::size_t rowIndex = 0; rowIndex < rows.size(); ++rowIndex) {
    auto& row = rows[rowIndex];
    int natural = 0;
    for (const Tab* tab : row) natural += tab->rect.width();
    const int extra = stretch && !row.empty() ? std::max(0, width() - natural) : 0;
    int left = 0;
    for (std::size_t position = 0; position < row.size(); ++position) {
      const int share = extra / static_cast<int>(row.size()) +
                        (position < static_cast<std::size_t>(extra % static_cast<int>(row.size())) ? 1 : 0);
      Tab* tab = row[position];
      tab->row = static_cast<int>(rowIndex);
      tab->rect = QRect(left, static_cast<int>(rowIndex) * rowHeight(), tab->rect.width() + share, rowHeight());
      left += tab->rect.width();
    }
  }
}

void PageControl::layoutTabs() {
  auto rows = wrapIntoRows();
  placeRows(rows);
  rows_ = static_cast<int>(rows.size());
  const int header = rows_ * rowHeight();
  stack_->setGeometry(kFrameWidth, header + kFrameWidth, std::max(0, width() - 2 * kFrameWidth),
                      std::max(0, height() - header - 2 * kFrameWidth));
  update();
}

// Tab sizes depend on the font and the style, which may change until the control is first shown.
void PageControl::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  layoutTabs();
}

void PageControl::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) layoutTabs();
}

void PageControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  layoutTabs();
}

void PageControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.rect = QRect(0, rows_ * rowHeight(), width(), height() - rows_ * rowHeight());
  frame.shape = QTabBar::RoundedNorth;
  style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
  painter.setClipRect(0, 0, width(), rows_ * rowHeight() + kFrameWidth);
  for (const Tab& tab : tabs_) {
    if (!tab.visible) continue;
    QStyleOptionTab option;
    option.initFrom(this);
    option.rect = tab.rect;
    option.text = tab.caption;
    option.shape = QTabBar::RoundedNorth;
    option.position = QStyleOptionTab::Middle;
    option.state.setFlag(QStyle::State_Selected, tab.page == current_);
    option.state.setFlag(QStyle::State_HasFocus, false);
    style()->drawControl(QStyle::CE_TabBarTab, &option, &painter, this);
  }
}

void PageControl::mousePressEvent(QMouseEvent* event) {
  for (const Tab& tab : tabs_) {
    if (tab.visible && tab.rect.contains(event->position().toPoint())) {
      setCurrentPage(tab.page);
      return;
    }
  }
  QWidget::mousePressEvent(event);
}

}  // namespace vorl
