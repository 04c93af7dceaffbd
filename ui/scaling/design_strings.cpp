#include "ui/scaling/design_strings.h"

namespace ui {

DesignValues parseDesignString(const QString& text) {
  const qsizetype dash = text.indexOf('-');
  if (dash < 0) return {};
  return {text.left(dash).trimmed().toInt(), text.mid(dash + 1).trimmed().toInt()};
}

}  // namespace ui
