#include "report_engine/text_metrics.h"

#include <QTextLayout>
#include <algorithm>

namespace reporting {

namespace {

constexpr double kMeasureDpi = 720;
constexpr double kMillimetresPerInch = 25.4;
constexpr double kPointsPerInch = 72;

double toMillimetres(double pixels) { return pixels * kMillimetresPerInch / kMeasureDpi; }
double toPixels(double millimetres) { return millimetres * kMeasureDpi / kMillimetresPerInch; }

}  // namespace

QFont deviceFont(const FontSpec& style, double deviceDpi, double pixelsPerMillimetre) {
  QFont font(style.family);
  font.setBold(style.bold);
  font.setItalic(style.italic);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setKerning(false);
  // The painter turns points into pixels at the device's resolution; the pages are scaled instead.
  const double millimetres = style.size * kMillimetresPerInch / kPointsPerInch;
  font.setPointSizeF(std::max(0.1, millimetres * pixelsPerMillimetre * kPointsPerInch / deviceDpi));
  return font;
}

TextMetrics::TextMetrics() : device_(1, 1, QImage::Format_RGB32) {
  const int dotsPerMetre = qRound(kMeasureDpi / kMillimetresPerInch * 1000);
  device_.setDotsPerMeterX(dotsPerMetre);
  device_.setDotsPerMeterY(dotsPerMetre);
}

TextMetrics::Measure& TextMetrics::measure(const FontSpec& style) {
  const auto found = std::find_if(fonts_.begin(), fonts_.end(), [&](const auto& entry) { return entry.first == style; });
  if (found != fonts_.end()) return *found->second;
  QFont font = deviceFont(style, kMeasureDpi, kMeasureDpi / kMillimetresPerInch);
  auto entry = std::make_unique<Measure>(Measure{font, QFontMetricsF(font, &device_)});
  fonts_.emplace_back(style, std::move(entry));
  return *fonts_.back().second;
}

double TextMetrics::width(const FontSpec& font, const QString& text) {
  return toMillimetres(measure(font).metrics.horizontalAdvance(text));
}

double TextMetrics::ascent(const FontSpec& font) { return toMillimetres(measure(font).metrics.ascent()); }

double TextMetrics::lineSpacing(const FontSpec& font) { return toMillimetres(measure(font).metrics.lineSpacing()); }

std::optional<double> TextMetrics::Measure::latinWidth(const QString& text) {
  constexpr std::size_t kLatin = 0x250;  // up to Latin Extended-B
  if (advances.empty()) advances.assign(kLatin, -1);
  double sum = 0;
  for (const QChar character : text) {
    const auto code = character.unicode();
    if (code >= kLatin) return std::nullopt;
    if (advances[code] < 0) advances[code] = metrics.horizontalAdvance(character);
    sum += advances[code];
  }
  return sum;
}

// Most texts fit their boxes: the sum of their characters' advances tells so without laying them out.
QString TextMetrics::elided(const FontSpec& font, const QString& text, double width) {
  if (width <= 0) return text;
  Measure& measured = measure(font);
  const double room = toPixels(width);
  constexpr double kRoundingMargin = 0.99;
  if (const auto quick = measured.latinWidth(text); quick && *quick <= room * kRoundingMargin) return text;
  const auto& metrics = measured.metrics;
  return metrics.horizontalAdvance(text) <= room ? text : metrics.elidedText(text, Qt::ElideRight, room);
}

QStringList TextMetrics::wrapped(const FontSpec& font, const QString& text, double width) {
  Measure& measured = measure(font);
  QStringList lines;
  for (const QString& paragraph : QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n')) {
    if (paragraph.isEmpty()) {
      lines.append(QString());
      continue;
    }
    QTextLayout layout(paragraph, measured.font, &device_);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
      line.setLineWidth(toPixels(width));
      lines.append(paragraph.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
  }
  return lines;
}

}  // namespace reporting
