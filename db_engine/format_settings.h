#pragma once
// How dates are written and read as text, like the user's short date format of the desktop.
// Tokens: d, dd, M, MM, yy, yyyy; any other character is a literal separator.
#include <string>

namespace engine {

struct FormatSettings {
  std::string shortDateFormat = "yyyy-MM-dd";
};

// Process-wide settings; the application sets them from the user's locale at start.
FormatSettings& formatSettings();

}  // namespace engine
