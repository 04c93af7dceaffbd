#pragma once
// The screen size the scaling component fits windows to; tests put in sizes of their own.
#include <QSize>

namespace ui {

class ScreenMetrics {
 public:
  virtual ~ScreenMetrics() = default;
  virtual QSize screenSize() const = 0;
};

// The metrics in force: the primary screen unless a test installed its own (nullptr restores it).
ScreenMetrics& screenMetrics();
void setScreenMetrics(ScreenMetrics* metrics);

}  // namespace ui
