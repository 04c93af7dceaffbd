#include "ui/scaling/client_area.h"

#include <QMainWindow>

#include "ui/scaling/form_controls.h"

namespace ui {

int ClientArea::menuHeight() const {
  const auto* main = qobject_cast<const QMainWindow*>(window_);
  const QWidget* menu = main ? main->menuWidget() : nullptr;
  if (!menu || menu->isHidden()) return 0;
  const int height = menu->heightForWidth(window_->width());
  return height > 0 ? height : menu->sizeHint().height();
}

QSize ClientArea::size() const { return window_->size() - QSize(0, menuHeight()); }

void ClientArea::setSize(QSize size) {
  const QSize windowSize = size + QSize(0, menuHeight());
  if (window_->minimumSize() == window_->maximumSize()) {
    window_->setFixedSize(windowSize);
  } else {
    window_->resize(windowSize);
  }
}

int ClientArea::windowHeight() const { return window_->height(); }

QRect ClientArea::boundsOf(const QWidget* control) const {
  if (isLaidOut(control)) return QRect(QPoint(), size());
  return control->geometry().translated(0, -menuHeight());
}

}  // namespace ui
