#pragma once
// Measures text for the layout in millimetres, the same on every device: metrics are taken at a
// fixed high resolution with hinting off, so they scale linearly to screen, printer and PDF.
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QStringList>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "report_engine/report_definition.h"

namespace reporting {

// The font of a style for a device of the given resolution, drawn at the style's size in millimetres
// when the painter maps millimetres to pixelsPerMillimetre.
QFont deviceFont(const FontSpec& style, double deviceDpi, double pixelsPerMillimetre);

class TextMetrics {
 public:
  TextMetrics();
  double width(const FontSpec& font, const QString& text);
  double ascent(const FontSpec& font);
  double lineSpacing(const FontSpec& font);
  // The text cut at the right with an ellipsis to fit width (unchanged when it fits or width is 0).
  QString elided(const FontSpec& font, const QString& text, double width);
  // Lines of the text wrapped to width, paragraphs kept.
  QStringList wrapped(const FontSpec& font, const QString& text, double width);

 private:
  struct Measure {
    QFont font;
    QFontMetricsF metrics;
    std::vector<double> advances = {};  // of Latin characters, measured when first met (negative: not yet)
    // The sum of the characters' advances, when all are Latin: with kerning off, never short of the
    // laid-out width by more than rounding, so a text that fits by it fits.
    std::optional<double> latinWidth(const QString& text);
  };
  Measure& measure(const FontSpec& font);
  QImage device_;
  std::vector<std::pair<FontSpec, std::unique_ptr<Measure>>> fonts_;
};

}  // namespace reporting
