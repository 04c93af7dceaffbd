#pragma once
// The one guard around every event handler: a failure shows the standard error box, a silent
// abort shows nothing, and the program goes on.
#include <functional>

class QWidget;

namespace ui {

void guarded(QWidget* parent, const std::function<void()>& handler);

}  // namespace ui
