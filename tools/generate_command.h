#pragma once
// The command of vorl_generate, apart from main() so that tests run it with their own streams.
#include <charconv>
#include <cstdint>
#include <exception>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "data/synthetic_lexicon.h"

namespace tools {

inline constexpr std::string_view kGenerateUsage = "usage: vorl_generate <root> <units> <results> [seed]\n";

// A whole number that fits Number, or nullopt.
template <typename Number>
std::optional<Number> parseCount(std::string_view text) {
  Number number{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return number;
}

// Returns the exit code: 0, 1 with a one-line error, 2 for bad arguments.
inline int runGenerateTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
  const bool countOk = arguments.size() == 3 || arguments.size() == 4;
  const auto units = countOk ? parseCount<std::size_t>(arguments[1]) : std::nullopt;
  const auto results = countOk ? parseCount<std::size_t>(arguments[2]) : std::nullopt;
  const auto seed = arguments.size() == 4 ? parseCount<std::uint32_t>(arguments[3]) : std::optional<std::uint32_t>(1);
  if (!units || !results || !seed) {
    err << kGenerateUsage;
    return 2;
  }
  try {
    out << "Engine configuration: " << data::generateSyntheticDatabases(arguments[0], *units, *results, *seed) << "\n";
  } catch (const std::exception& error) {
    err << "vorl_generate: " << error.what() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace tools
