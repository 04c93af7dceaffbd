#include "ui/scaling/grid_font_follower.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableView>

#include "ui/scaling/form_controls.h"
#include "ui/scaling/pixel_rounding.h"

namespace ui {

void GridFontFollower::attach(QTableView* grid) {
  if (!grid->findChild<GridFontFollower*>({}, Qt::FindDirectChildrenOnly)) new GridFontFollower(grid);
}

GridFontFollower::GridFontFollower(QTableView* grid)
    : QObject(grid), grid_(grid), fontHeight_(fontHeight(grid->font())) {
  grid->installEventFilter(this);
}

bool GridFontFollower::eventFilter(QObject* watched, QEvent* event) {
  if (watched == grid_ && event->type() == QEvent::FontChange) follow();
  return false;
}

void GridFontFollower::follow() {
  const int height = fontHeight(grid_->font());
  const long double factor = ratio(height, fontHeight_);
  if (factor == 0 || height == fontHeight_) return;
  fontHeight_ = height;
  auto scaled = [factor](int pixels) { return std::max(1, roundPixels(pixels * factor)); };
  QHeaderView* rows = grid_->verticalHeader();
  rows->setMinimumSectionSize(std::min(rows->minimumSectionSize(), scaled(rows->defaultSectionSize())));
  rows->setDefaultSectionSize(scaled(rows->defaultSectionSize()));
  if (rows->minimumWidth() == rows->maximumWidth()) rows->setFixedWidth(scaled(rows->maximumWidth()));
  QHeaderView* columns = grid_->horizontalHeader();
  for (int column = 0; column < columns->count(); ++column) {
    if (!columns->isSectionHidden(column)) columns->resizeSection(column, scaled(columns->sectionSize(column)));
  }
}

}  // namespace ui
