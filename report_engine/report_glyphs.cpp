#include "report_engine/report_glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace reporting {
namespace {

// A sheet of paper with a folded corner and a few lines of text.
void drawSheet(QPainter& painter, const QRect& sheet, bool lines = true) {
  QPainterPath outline;
  outline.moveTo(sheet.left(), sheet.top());
  outline.lineTo(sheet.right() - 3, sheet.top());
  outline.lineTo(sheet.right(), sheet.top() + 3);
  outline.lineTo(sheet.right(), sheet.bottom());
  outline.lineTo(sheet.left(), sheet.bottom());
  outline.closeSubpath();
  painter.setPen(Qt::black);
  painter.setBrush(Qt::white);
  painter.drawPath(outline);
  if (!lines) return;
  for (int y = sheet.top() + 4; y < sheet.bottom() - 1; y += 2) {
    painter.fillRect(sheet.left() + 2, y, sheet.width() - 5, 1, Qt::gray);
  }
}

void drawMagnifier(QPainter& painter, bool plus) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(Qt::darkGray, 2.5, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(10, 10), QPointF(14.5, 14.5));
  painter.setPen(QPen(Qt::black, 1.2));
  painter.setBrush(QColor(Qt::cyan).lighter(160));
  painter.drawEllipse(QPointF(6.5, 6.5), 5, 5);
  painter.setPen(QPen(Qt::darkBlue, 1.6));
  painter.drawLine(QPointF(4, 6.5), QPointF(9, 6.5));
  if (plus) painter.drawLine(QPointF(6.5, 4), QPointF(6.5, 9));
}

void drawPrinter(QPainter& painter) {
  painter.setPen(Qt::black);
  painter.setBrush(Qt::white);
  painter.drawRect(4, 1, 8, 6);  // the sheet going in
  painter.setBrush(Qt::lightGray);
  painter.drawRect(1, 6, 14, 6);
  painter.fillRect(3, 8, 2, 1, Qt::green);
  painter.setBrush(Qt::white);
  painter.drawRect(4, 11, 8, 4);  // the printed sheet
  painter.fillRect(5, 13, 6, 1, Qt::black);
}

void drawArrow(QPainter& painter, bool right) {
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(Qt::darkBlue);
  const QPolygonF arrow = right ? QPolygonF({QPointF(5, 2), QPointF(12, 8), QPointF(5, 14)})
                                : QPolygonF({QPointF(11, 2), QPointF(4, 8), QPointF(11, 14)});
  painter.drawPolygon(arrow);
}

template <typename Draw>
QIcon glyph(Draw draw) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  draw(painter);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace

QIcon previewGlyph(PreviewGlyph which) {
  return glyph([which](QPainter& painter) {
    switch (which) {
      case PreviewGlyph::ZoomIn: drawMagnifier(painter, true); break;
      case PreviewGlyph::ZoomOut: drawMagnifier(painter, false); break;
      case PreviewGlyph::ZoomPageWidth:
        drawSheet(painter, QRect(3, 1, 10, 14));
        painter.setPen(QPen(Qt::red, 1));
        painter.drawLine(0, 8, 15, 8);
        painter.drawLine(0, 8, 2, 6);
        painter.drawLine(0, 8, 2, 10);
        painter.drawLine(15, 8, 13, 6);
        painter.drawLine(15, 8, 13, 10);
        break;
      case PreviewGlyph::ZoomPage:
        drawSheet(painter, QRect(3, 1, 10, 14));
        painter.setPen(QPen(Qt::red, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(1, 0, 14, 15);
        break;
      case PreviewGlyph::PrevPage: drawArrow(painter, false); break;
      case PreviewGlyph::NextPage: drawArrow(painter, true); break;
      case PreviewGlyph::Print: drawPrinter(painter); break;
      case PreviewGlyph::Done:
        // A door standing open.
        painter.setPen(Qt::black);
        painter.setBrush(Qt::darkYellow);
        painter.drawRect(3, 1, 9, 14);
        painter.setBrush(Qt::yellow);
        painter.drawPolygon(QPolygon({QPoint(3, 1), QPoint(8, 3), QPoint(8, 15), QPoint(3, 15)}));
        painter.fillRect(6, 8, 1, 2, Qt::black);
        break;
    }
  });
}

QIcon browseGlyph() {
  return glyph([](QPainter& painter) {
    painter.setPen(Qt::black);
    painter.setBrush(Qt::darkYellow);
    painter.drawRect(1, 4, 12, 9);
    painter.drawRect(1, 2, 5, 2);
    painter.setBrush(Qt::yellow);
    painter.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
  });
}

QIcon printerSetupGlyph() {
  return glyph([](QPainter& painter) {
    drawPrinter(painter);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::darkRed, 2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(9, 14), QPointF(14, 9));
    painter.setPen(QPen(Qt::darkRed, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(13.5, 9.5), 2, 2);
  });
}

}  // namespace reporting
