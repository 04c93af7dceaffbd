#pragma once
// The smallest client size a scaled window accepts: a data navigator (or media player) must stay
// wide and high enough to use; a window without one keeps at least a quarter of its size.
#include <QSize>
#include <vector>

class QWidget;

namespace ui {

class MinimumSize {
 public:
  // Over the window's controls in order, against the target client size; also turns automatic
  // sizing off for labels and pictures and on for plain edit boxes. The ratios keep the
  // largest values ever computed.
  void compute(const std::vector<QWidget*>& controls, QSize target);
  // The client size raised to the minimum where it falls below; hit tells whether it did.
  QSize enforce(QSize client, bool& hit) const;

 private:
  int minimumWidth_ = 0;
  int minimumHeight_ = 0;
  long double widthRatio_ = 0;
  long double heightRatio_ = 0;
};

}  // namespace ui
