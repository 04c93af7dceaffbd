#pragma once
// What the report windows share: placing controls at their design coordinates (no layouts) and
// the fonts of the design, whose point sizes are pixels at the design's 96 dots per inch.
#include <QFont>
#include <QWidget>

namespace reporting {

template <typename Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(left, top, width, height);
  return widget;
}

// Point size at 96 dots per inch, rounded, as the design's pixels.
inline int designPixels(double points) { return static_cast<int>(points * 96.0 / 72.0 + 0.5); }

inline QFont designFont(const QString& family, double points, bool bold = false) {
  QFont font(family);
  font.setPixelSize(designPixels(points));
  font.setBold(bold);
  return font;
}

// The platform's own face for the "System" font of the design.
QFont systemFont(double points, bool bold = false);

// Centres a top-level window on its screen.
void centreOnScreen(QWidget& window);

}  // namespace reporting
