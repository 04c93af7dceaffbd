#include "app/form_builder.h"

#include <QPalette>

namespace vorl {

QFrame* makePanel(QWidget* parent, const char* name, QRect geometry, Bevel bevel) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setGeometry(geometry);
  switch (bevel) {
    case Bevel::RaisedPanel:  // a groove: lowered outside, raised inside
      panel->setFrameStyle(QFrame::Box | QFrame::Sunken);
      panel->setLineWidth(1);
      panel->setMidLineWidth(0);
      break;
    case Bevel::Lowered:
      panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      panel->setLineWidth(1);
      break;
    case Bevel::Raised:
      panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
      panel->setLineWidth(1);
      break;
  }
  return panel;
}

QLabel* makeLabel(QWidget* parent, const QString& text, int left, int top, const char* name) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->move(left, top);
  label->adjustSize();
  return label;
}

void skipOnTab(QWidget* widget) { widget->setFocusPolicy(Qt::ClickFocus); }

void setBackground(QWidget* widget, const QColor& color) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::Base, color);
  palette.setColor(QPalette::Window, color);
  widget->setPalette(palette);
}

}  // namespace vorl
