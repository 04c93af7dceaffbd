#include "ui/scaling/label_attachment.h"

#include <QLabel>

#include "ui/scaling/form_controls.h"
#include "ui/scaling/form_snapshot.h"

namespace ui {
namespace {

// Where a control's parent stands in the window.
QPoint offsetIn(const QWidget* window, const QWidget* control) {
  const QWidget* parent = control->parentWidget();
  return parent == window ? QPoint() : parent->mapTo(window, QPoint());
}

QRect inWindow(const QWidget* window, const QWidget* control, const QRect& bounds) {
  return bounds.translated(offsetIn(window, control));
}

bool wasAbove(QWidget* window, QLabel* label, QWidget* focus, Snapshot& snapshot) {
  const ControlEntry* labelEntry = snapshot.entryFor(label);
  const ControlEntry* focusEntry = snapshot.entryFor(focus);
  const QRect labelBounds = inWindow(window, label, labelEntry ? labelEntry->bounds : label->geometry());
  const QRect focusBounds = inWindow(window, focus, focusEntry ? focusEntry->bounds : focus->geometry());
  const int labelBottom = labelBounds.top() + labelBounds.height();
  return labelBounds.top() < focusBounds.top() && 3 * labelBottom < 3 * focusBounds.top() + focusBounds.height();
}

void attach(QWidget* window, QLabel* label, QWidget* focus, bool above) {
  const QRect focusBounds = inWindow(window, focus, focus->geometry());
  QRect bounds = inWindow(window, label, label->geometry());
  if (above) {
    bounds.moveTop(focusBounds.top() - kLabelGap - bounds.height());
  } else {
    bounds.moveLeft(focusBounds.left() - kLabelGap - bounds.width());
  }
  label->move(bounds.topLeft() - offsetIn(window, label));
}

}  // namespace

void reattachLabels(QWidget* window, const std::vector<QWidget*>& controls, Snapshot& snapshot) {
  for (QWidget* control : controls) {
    auto* label = qobject_cast<QLabel*>(control);
    if (!label || !isLabel(label) || !label->buddy()) continue;
    attach(window, label, label->buddy(), wasAbove(window, label, label->buddy(), snapshot));
  }
  for (const auto& [label, alignment] : snapshot.labelAlignments)
    if (label) label->setAlignment(alignment);
}

}  // namespace ui
