#pragma once
// Every conversion of a ratio to pixels: extended precision, to the nearest pixel, halves to even.
#include <cmath>

namespace ui {

inline int roundPixels(long double value) { return static_cast<int>(std::llrint(value)); }

// numerator / denominator in extended precision; 0 when there is nothing to divide by.
inline long double ratio(long double numerator, long double denominator) {
  return denominator == 0 ? 0.0L : numerator / denominator;
}

}  // namespace ui
