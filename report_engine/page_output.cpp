#include "report_engine/page_output.h"

#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "report_engine/report_error.h"
#include "report_engine/text_metrics.h"

namespace reporting {

namespace {

constexpr double kPdfDpi = 1200;
constexpr double kMillimetresPerInch = 25.4;

std::vector<QFont> fontsFor(const ReportDocument& document, const QPaintDevice& device, double scale) {
  std::vector<QFont> fonts;
  for (const auto& style : document.fonts) fonts.push_back(deviceFont(style, device.logicalDpiY(), scale));
  return fonts;
}

QPen penOf(const QColor& colour, double width, double scale) {
  QPen pen(colour, std::max(width * scale, 0.5));
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

void drawElements(QPainter& painter, const Page& page, const std::vector<QFont>& fonts, double scale) {
  for (const auto& box : page.boxes) {
    const QRectF rect(box.box.topLeft() * scale, box.box.size() * scale);
    if (box.fill) painter.fillRect(rect, *box.fill);
    if (box.frameWidth > 0) {
      painter.setPen(penOf(box.frame, box.frameWidth, scale));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(rect);
    }
  }
  for (const auto& line : page.lines) {
    painter.setPen(penOf(line.colour, line.width, scale));
    painter.drawLine(line.from * scale, line.to * scale);
  }
  int font = -1;
  QColor colour;
  for (const auto& text : page.texts) {
    if (text.font != font) painter.setFont(fonts[font = text.font]);
    if (text.colour != colour) painter.setPen(QPen(colour = text.colour, 0));
    painter.drawText(text.baseline * scale, text.text);
  }
}

QPageLayout layoutOf(const ReportDocument& document) {
  const double width = document.landscape ? document.pageHeight : document.pageWidth;
  const double height = document.landscape ? document.pageWidth : document.pageHeight;
  return QPageLayout(QPageSize(QSizeF(width, height), QPageSize::Millimeter),
                     document.landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF());
}

}  // namespace

void drawPage(QPainter& painter, const ReportDocument& document, int page, double pixelsPerMillimetre) {
  painter.save();
  drawElements(painter, document.pages.at(page), fontsFor(document, *painter.device(), pixelsPerMillimetre),
               pixelsPerMillimetre);
  painter.restore();
}

bool paintPages(QPagedPaintDevice& device, const ReportDocument& document, const std::vector<int>& pages,
                const PageProgress& progress) {
  std::vector<int> chosen = pages;
  if (chosen.empty()) {
    for (int page = 1; page <= static_cast<int>(document.pages.size()); ++page) chosen.push_back(page);
  }
  QPainter painter;
  if (!painter.begin(&device)) throw ReportError(QStringLiteral("The output device cannot be drawn on."));
  // The device's origin is the sheet's corner only when its margins are nil.
  const QRect paper = device.pageLayout().fullRectPixels(device.logicalDpiX());
  const QRect paintable = device.pageLayout().paintRectPixels(device.logicalDpiX());
  painter.translate(paper.topLeft() - paintable.topLeft());
  const double scale = device.logicalDpiX() / kMillimetresPerInch;
  const auto fonts = fontsFor(document, device, scale);
  bool first = true;
  for (int page : chosen) {
    if (page < 1 || page > static_cast<int>(document.pages.size())) continue;
    if (!first) device.newPage();
    first = false;
    drawElements(painter, document.pages[page - 1], fonts, scale);
    if (progress && !progress(page)) {
      painter.end();
      return false;
    }
  }
  painter.end();
  return true;
}

bool writePdf(const ReportDocument& document, const QString& fileName, const PageProgress& progress) {
  const QFileInfo target(fileName);
  if (!target.absoluteDir().exists()) {
    throw ReportError(QStringLiteral("Cannot write \"%1\": the folder does not exist.").arg(fileName));
  }
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly)) {
    throw ReportError(QStringLiteral("Cannot write \"%1\": %2.").arg(fileName, file.errorString()));
  }
  bool complete = false;
  {
    QPdfWriter writer(&file);
    writer.setResolution(static_cast<int>(kPdfDpi));
    writer.setTitle(document.title);
    writer.setCreator(QStringLiteral("VORL Database"));
    writer.setPageLayout(layoutOf(document));
    complete = paintPages(writer, document, {}, progress);
  }
  if (!complete) {
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) throw ReportError(QStringLiteral("Cannot write \"%1\": %2.").arg(fileName, file.errorString()));
  return true;
}

}  // namespace reporting
