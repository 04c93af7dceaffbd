#pragma once
// A window's client area: the window without its menu bar, which the window system would draw
// as part of the frame.
#include <QRect>
#include <QSize>

class QWidget;

namespace ui {

class ClientArea {
 public:
  explicit ClientArea(QWidget* window) : window_(window) {}

  QSize size() const;
  int width() const { return size().width(); }
  int height() const { return size().height(); }
  // A window of fixed size keeps a fixed size, at the new one.
  void setSize(QSize size);
  void setWidth(int width) { setSize({width, height()}); }
  void setHeight(int height) { setSize({width(), height}); }
  // The window's height with its menu bar.
  int windowHeight() const;
  // A control of the window itself in client coordinates; one laid out by the window spans it.
  QRect boundsOf(const QWidget* control) const;

 private:
  int menuHeight() const;
  QWidget* window_;
};

}  // namespace ui
