#include "ui/navigator_glyphs.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>

namespace ui {
namespace {

// A triangle pointing left or right in a 12 by 12 box, starting at x.
QPolygonF triangle(qreal x, bool right) {
  return right ? QPolygonF({QPointF(x, 2), QPointF(x + 5, 6), QPointF(x, 10)})
               : QPolygonF({QPointF(x + 5, 2), QPointF(x, 6), QPointF(x + 5, 10)});
}

void drawGlyph(QPainter& painter, NavigatorButton which, const QColor& color) {
  switch (which) {
    case NavigatorButton::First:
      painter.drawRect(QRectF(2, 2, 1.5, 8));
      painter.drawPolygon(triangle(5, false));
      break;
    case NavigatorButton::Prior: painter.drawPolygon(triangle(3.5, false)); break;
    case NavigatorButton::Next: painter.drawPolygon(triangle(3.5, true)); break;
    case NavigatorButton::Last:
      painter.drawPolygon(triangle(2, true));
      painter.drawRect(QRectF(8.5, 2, 1.5, 8));
      break;
    case NavigatorButton::Insert:
      painter.drawRect(QRectF(5, 1, 2, 10));
      painter.drawRect(QRectF(1, 5, 10, 2));
      break;
    case NavigatorButton::Delete: painter.drawRect(QRectF(1, 5, 10, 2)); break;
    case NavigatorButton::Edit: painter.drawPolygon(QPolygonF({QPointF(6, 2), QPointF(11, 9), QPointF(1, 9)})); break;
    case NavigatorButton::Post: {
      QPainterPath tick;
      tick.moveTo(1, 6);
      tick.lineTo(4.5, 10);
      tick.lineTo(11, 2);
      painter.strokePath(tick, QPen(color, 2));
      break;
    }
    case NavigatorButton::Cancel:
      painter.setPen(QPen(color, 2));
      painter.drawLine(QPointF(2, 2), QPointF(10, 10));
      painter.drawLine(QPointF(10, 2), QPointF(2, 10));
      break;
    case NavigatorButton::Refresh:
      painter.setPen(QPen(color, 1.5));
      painter.drawArc(QRectF(2, 2, 8, 8), 90 * 16, 270 * 16);
      painter.setPen(Qt::NoPen);
      painter.drawPolygon(QPolygonF({QPointF(5, 0), QPointF(8.5, 2), QPointF(5, 4)}));
      break;
  }
}

}  // namespace

QString navigatorHint(NavigatorButton which) {
  switch (which) {
    case NavigatorButton::First: return QStringLiteral("First record");
    case NavigatorButton::Prior: return QStringLiteral("Prior record");
    case NavigatorButton::Next: return QStringLiteral("Next record");
    case NavigatorButton::Last: return QStringLiteral("Last record");
    case NavigatorButton::Insert: return QStringLiteral("Insert record");
    case NavigatorButton::Delete: return QStringLiteral("Delete record");
    case NavigatorButton::Edit: return QStringLiteral("Edit record");
    case NavigatorButton::Post: return QStringLiteral("Post edit");
    case NavigatorButton::Cancel: return QStringLiteral("Cancel edit");
    case NavigatorButton::Refresh: return QStringLiteral("Refresh data");
  }
  return {};
}

namespace {

// Draws the glyph at whatever size the button asks, so that it stays sharp when a window is scaled.
class GlyphEngine : public QIconEngine {
 public:
  GlyphEngine(NavigatorButton which, const QColor& color) : which_(which), color_(color) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    constexpr double kGrid = 12;  // the glyphs are drawn on a 12 by 12 grid
    const double side = std::min(rect.width(), rect.height());
    QColor color = color_;
    if (mode == QIcon::Disabled) color.setAlphaF(0.35);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->translate(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2);
    painter->scale(side / kGrid, side / kGrid);
    painter->setPen(Qt::NoPen);
    painter->setBrush(color);
    drawGlyph(*painter, which_, color);
    painter->restore();
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap image(size);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(&painter, QRect(QPoint(0, 0), size), mode, state);
    return image;
  }

  QIconEngine* clone() const override { return new GlyphEngine(which_, color_); }

 private:
  NavigatorButton which_;
  QColor color_;
};

}  // namespace

QIcon navigatorGlyph(NavigatorButton which, const QColor& color) { return QIcon(new GlyphEngine(which, color)); }

}  // namespace ui
