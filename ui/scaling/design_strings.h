#pragma once
// The design strings of a scaled window: the screen size at layout time and the blank margin
// beyond the outermost control, as "screen-margin" ("800-10").
#include <QString>
#include <optional>

namespace ui {

struct DesignValues {
  int screen = 0;             // the number before the first "-", 0 without one
  std::optional<int> margin;  // the number after it; none without a "-"
};

DesignValues parseDesignString(const QString& text);

}  // namespace ui
