#pragma once
// Small helpers that place controls at their design coordinates (the windows use no layouts:
// the design's pixel positions are the layout).
#include <QFrame>
#include <QLabel>
#include <QString>
#include <QWidget>

namespace vorl {

// Height of a one-line edit box at the window's 11-pixel font.
inline constexpr int kEditHeight = 21;
// Height of a navigator bar.
inline constexpr int kNavigatorHeight = 25;

enum class Bevel {
  RaisedPanel,  // raised inner and lowered outer bevel
  Lowered,      // a lowered bevel only
  Raised,       // a raised bevel only
};

// Sets the design name and geometry and returns the widget, so creation and placement read as one.
template <typename Widget>
Widget* place(Widget* widget, const char* name, int left, int top, int width, int height) {
  widget->setObjectName(name);
  widget->setGeometry(left, top, width, height);
  return widget;
}

QFrame* makePanel(QWidget* parent, const char* name, QRect geometry, Bevel bevel);

// A caption label sized to its text, at left, top.
QLabel* makeLabel(QWidget* parent, const QString& text, int left, int top, const char* name = "");

// Tab key passes the control by (it still takes the focus on a click).
void skipOnTab(QWidget* widget);

void setBackground(QWidget* widget, const QColor& color);

}  // namespace vorl
