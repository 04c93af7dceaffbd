#include "ui/window_placement.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>

namespace ui {
namespace {

// Until the first showing: then the native window takes the position as its frame's, with the
// size the widget has by then (a size handed over later would reset the position to the client's).
class FramePlacement : public QObject {
 public:
  FramePlacement(QWidget* window, QPoint topLeft) : QObject(window), window_(window), topLeft_(topLeft) {
    window->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != window_ || event->type() != QEvent::Show || event->spontaneous()) return false;
    if (QWindow* native = window_->windowHandle()) {
      native->resize(window_->size());
      native->setFramePosition(topLeft_);
    }
    window_->removeEventFilter(this);
    deleteLater();
    return false;
  }

 private:
  QWidget* window_;
  QPoint topLeft_;
};

}  // namespace

void placeFrame(QWidget* window, QPoint topLeft) {
  window->move(topLeft);
  new FramePlacement(window, topLeft);
}

}  // namespace ui
