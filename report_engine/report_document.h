#pragma once
// The laid-out pages of one run, held in memory and independent of the device: every element is
// placed in millimetres from the top left of its page. Drawn by the preview, a printer or a PDF.
#include <QColor>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

#include "report_engine/report_definition.h"

namespace reporting {

// One line of text, already cut to its item's width and aligned there: it starts at baseline
// (wrapping and alignment happened in the layout).
struct TextElement {
  QPointF baseline;
  QString text;
  int font = 0;  // index into ReportDocument::fonts
  QColor colour;
};

struct LineElement {
  QPointF from, to;
  double width = 0.25;
  QColor colour;
};

struct BoxElement {
  QRectF box;
  double frameWidth = 0.25;  // 0: no frame
  QColor frame;
  std::optional<QColor> fill;
};

struct Page {
  std::vector<BoxElement> boxes;  // drawn first, behind lines and text
  std::vector<LineElement> lines;
  std::vector<TextElement> texts;
};

struct ReportDocument {
  QString title;  // the report's full name
  double pageWidth = 210, pageHeight = 297;  // millimetres, as oriented
  bool landscape = false;
  std::vector<FontSpec> fonts;
  std::vector<Page> pages;
};

}  // namespace reporting
