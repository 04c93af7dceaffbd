#pragma once
// The snapshot layout of a scaled window: its client size and font, and every control's bounds
// and font height, taken after creation and restored when the window is made very small, is
// restored from the maximized state or the screen changes.
#include <QLabel>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <utility>
#include <vector>

namespace ui {

// The two font-scaling factors that mean "store the font height" and "restore it".
inline constexpr long double kStoreFont = 450;
inline constexpr long double kRestoreFont = -450;

struct ControlEntry {
  QPointer<QWidget> control;
  QRect bounds;
  int fontHeight = 0;
  int tabFontHeight = 0;
};

struct Snapshot {
  QSize client;
  int fontHeight = 0;
  std::vector<ControlEntry> controls;
  std::vector<std::pair<QPointer<QLabel>, Qt::Alignment>> labelAlignments;

  bool empty() const { return client.isEmpty(); }
  ControlEntry* entryFor(const QWidget* control);
};

// Scales the font of one control by factor, or stores (kStoreFont) or restores (kRestoreFont)
// its height in entry. A control that takes its parent's font is left alone; so is the tab
// font of a tab widget that takes the widget's font.
void scaleFont(QWidget* control, long double factor, ControlEntry* entry);

}  // namespace ui
