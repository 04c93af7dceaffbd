#pragma once
// The small glyphs and the hints of the navigator's buttons, drawn rather than shipped as images.
#include <QColor>
#include <QIcon>
#include <QString>

#include "ui/data_controls.h"

namespace ui {

QString navigatorHint(NavigatorButton which);
QIcon navigatorGlyph(NavigatorButton which, const QColor& color);

}  // namespace ui
