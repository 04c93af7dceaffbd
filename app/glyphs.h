#pragma once
// Pictures of our own, drawn rather than shipped: the date stamp button's glyph and the program's
// picture (a small stratigraphic column).
#include <QIcon>
#include <QPixmap>

namespace vorl {

QIcon dateStampGlyph();
// 100 by 100 pixels in the sixteen standard colours.
QPixmap programPicture();

}  // namespace vorl
