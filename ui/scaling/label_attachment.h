#pragma once
// Labels stay attached to the control they name: after a resize a label that stood above its
// control in the snapshot ends 5 pixels above it, any other 5 pixels to its left.
#include <vector>

class QWidget;

namespace ui {

struct Snapshot;

inline constexpr int kLabelGap = 5;

void reattachLabels(QWidget* window, const std::vector<QWidget*>& controls, Snapshot& snapshot);

}  // namespace ui
