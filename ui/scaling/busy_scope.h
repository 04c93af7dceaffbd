#pragma once
// While the scaling component lays a window out again: the window's drawing is locked, so no
// intermediate layout is painted, and the hourglass cursor shows. Both end with the scope, also
// when a step fails.
#include <QPointer>
#include <QWidget>

namespace ui {

class BusyScope {
 public:
  explicit BusyScope(QWidget* window);
  ~BusyScope();
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  QPointer<QWidget> window_;
  bool wasDrawing_;
};

}  // namespace ui
