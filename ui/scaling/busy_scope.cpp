#include "ui/scaling/busy_scope.h"

#include <QApplication>

namespace ui {

BusyScope::BusyScope(QWidget* window) : window_(window), wasDrawing_(window->updatesEnabled()) {
  window->setUpdatesEnabled(false);
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyScope::~BusyScope() {
  QApplication::restoreOverrideCursor();
  if (window_) window_->setUpdatesEnabled(wasDrawing_);
}

}  // namespace ui
