#include "report_engine/report_form_support.h"

#include <QFontDatabase>
#include <QScreen>

namespace reporting {

QFont systemFont(double points, bool bold) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  font.setPixelSize(designPixels(points));
  font.setBold(bold);
  return font;
}

void centreOnScreen(QWidget& window) {
  if (QScreen* display = window.screen()) {
    const QRect frame = window.frameGeometry();
    window.move(display->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
  }
}

}  // namespace reporting
