#include "ui/scaling/form_controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>

#include "ui/scaling/pixel_rounding.h"

namespace ui {
namespace {

constexpr char kAutoSizeProperty[] = "autoSize";

template <typename Widget>
bool isExactly(const QWidget* widget) {
  return widget->metaObject() == &Widget::staticMetaObject;
}

bool isContainer(const QWidget* widget) {
  return isExactly<QWidget>(widget) || isExactly<QFrame>(widget) || isExactly<QGroupBox>(widget) ||
         isExactly<QStackedWidget>(widget) || widget->property(kContainerProperty).toBool();
}

bool isOwnControl(const QWidget* widget) {
  return !widget->isWindow() && !qobject_cast<const QMenuBar*>(widget) &&
         !widget->objectName().startsWith(QLatin1String("qt_"));
}

void collect(QWidget* container, std::vector<QWidget*>& controls) {
  for (QObject* child : container->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (!widget || !isOwnControl(widget)) continue;
    controls.push_back(widget);
    if (isContainer(widget)) collect(widget, controls);
  }
}

}  // namespace

std::vector<QWidget*> ownedControls(QWidget* window) {
  std::vector<QWidget*> controls;
  collect(window, controls);
  return controls;
}

bool isLaidOut(const QWidget* control) {
  const QWidget* parent = control->parentWidget();
  return parent && parent->layout() && parent->layout()->indexOf(control) >= 0;
}

Alignment alignmentOf(const QWidget* control) {
  if (qobject_cast<const QStatusBar*>(control)) return Alignment::Bottom;
  if (qobject_cast<const QToolBar*>(control)) return Alignment::Top;
  return Alignment::None;
}

void applyBounds(QWidget* control, const QRect& bounds) {
  if (!isLaidOut(control)) {
    control->setGeometry(bounds);
  } else if (alignmentOf(control) != Alignment::None) {
    control->setFixedHeight(bounds.height());
  }
}

int tagOf(const QWidget* control) { return control->property(kTagProperty).toInt(); }

bool takesParentFont(const QWidget* control) { return !control->testAttribute(Qt::WA_SetFont); }

int fontHeight(const QFont& font) {
  if (font.pixelSize() > 0) return font.pixelSize();
  return roundPixels(static_cast<long double>(font.pointSizeF()) * 96 / 72);  // laid out at 96 per inch
}

void setFontHeight(QWidget* widget, int height) {
  QFont font = widget->font();
  font.setPixelSize(std::max(1, height));
  widget->setFont(font);
}

bool isLabel(const QWidget* control) {
  const auto* label = qobject_cast<const QLabel*>(control);
  return label && isExactly<QLabel>(control) && label->pixmap().isNull();
}

bool isImage(const QWidget* control) {
  const auto* label = qobject_cast<const QLabel*>(control);
  return label && !label->pixmap().isNull();
}

bool isPlainEdit(const QWidget* control) { return isExactly<QLineEdit>(control); }

void setAutoSize(QWidget* control, bool on) {
  control->setProperty(kAutoSizeProperty, on);
  fitAutoSize(control);
}

void fitAutoSize(QWidget* control) {
  if (!control->property(kAutoSizeProperty).toBool()) return;
  if (isPlainEdit(control)) {
    control->resize(control->width(), control->sizeHint().height());
  } else if (isLabel(control) && !static_cast<QLabel*>(control)->wordWrap()) {
    control->resize(control->sizeHint());
  }
}

}  // namespace ui
