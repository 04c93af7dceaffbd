#pragma once
// The pictures of the report windows' buttons, drawn rather than shipped, 16 by 16 pixels in the
// sixteen standard colours like the program's other glyphs.
#include <QIcon>

namespace reporting {

enum class PreviewGlyph { ZoomIn, ZoomOut, ZoomPageWidth, ZoomPage, PrevPage, NextPage, Print, Done };

QIcon previewGlyph(PreviewGlyph which);
QIcon browseGlyph();        // an open folder
QIcon printerSetupGlyph();  // a printer with a spanner

}  // namespace reporting
