#include "app/glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace vorl {

QIcon dateStampGlyph() {
  QPixmap glyph(16, 16);
  glyph.fill(Qt::transparent);
  QPainter painter(&glyph);
  painter.setPen(Qt::black);
  painter.setBrush(Qt::white);
  painter.drawRect(1, 2, 13, 12);
  painter.fillRect(2, 3, 12, 3, Qt::darkRed);
  for (int column = 0; column < 3; ++column)
    for (int row = 0; row < 2; ++row) painter.fillRect(3 + column * 4, 8 + row * 3, 2, 2, Qt::darkBlue);
  painter.fillRect(4, 1, 1, 3, Qt::black);
  painter.fillRect(11, 1, 1, 3, Qt::black);
  return QIcon(glyph);
}

// Beds of a column, top to bottom: height and one of the sixteen colours, with the rock's pattern.
QPixmap programPicture() {
  struct Bed {
    int height;
    Qt::GlobalColor colour;
    Qt::BrushStyle pattern;
  };
  const Bed beds[] = {
      {14, Qt::yellow, Qt::Dense6Pattern},     // sandstone
      {10, Qt::gray, Qt::HorPattern},          // shale
      {18, Qt::darkYellow, Qt::Dense5Pattern}, // siltstone
      {12, Qt::cyan, Qt::CrossPattern},        // limestone
      {16, Qt::darkGreen, Qt::BDiagPattern},   // lava
      {10, Qt::gray, Qt::HorPattern},
      {20, Qt::red, Qt::DiagCrossPattern},     // granite basement
  };
  QPixmap picture(100, 100);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  int top = 0;
  for (const Bed& bed : beds) {
    const QRect area(30, top, 40, bed.height);
    painter.fillRect(area, bed.colour);
    painter.fillRect(area, QBrush(Qt::black, bed.pattern));
    top += bed.height;
  }
  painter.setPen(QPen(Qt::black, 2));
  painter.drawRect(30, 0, 40, 99);
  painter.setPen(QPen(Qt::darkBlue, 2));
  painter.drawLine(20, 4, 20, 96);  // the time arrow beside the column
  QPainterPath head;
  head.moveTo(14, 12);
  head.lineTo(20, 2);
  head.lineTo(26, 12);
  painter.drawPath(head);
  return picture;
}

}  // namespace vorl
