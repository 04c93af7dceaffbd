#include "db_engine/value_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <vector>

#include "db_engine/column_types.h"

namespace engine {
namespace {

std::string_view trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// A decimal number as digits and the position of the decimal point within them.
struct Decimal {
  std::string integerDigits;   // without leading zeros; empty for zero
  std::string fractionDigits;  // without a limit
};

Decimal decimalOf(double magnitude) {
  char buffer[64];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific).ptr;
  const std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
  const auto exponentAt = text.find('e');
  std::string digits;
  for (const char c : text.substr(0, exponentAt)) {
    if (c != '.') digits += c;
  }
  int exponent = 0;
  std::from_chars(text.data() + exponentAt + 1 + (text[exponentAt + 1] == '+'), text.data() + text.size(), exponent);
  const int point = exponent + 1;
  Decimal decimal;
  if (point <= 0) {
    decimal.fractionDigits = std::string(static_cast<std::size_t>(-point), '0') + digits;
  } else if (static_cast<std::size_t>(point) >= digits.size()) {
    decimal.integerDigits = digits + std::string(static_cast<std::size_t>(point) - digits.size(), '0');
  } else {
    decimal.integerDigits = digits.substr(0, static_cast<std::size_t>(point));
    decimal.fractionDigits = digits.substr(static_cast<std::size_t>(point));
  }
  if (decimal.integerDigits == "0") decimal.integerDigits.clear();
  return decimal;
}

// Adds one unit in the last place of digits; returns true when it carries out of them.
bool incrementDigits(std::string& digits) {
  for (auto position = digits.rbegin(); position != digits.rend(); ++position) {
    if (*position != '9') {
      ++*position;
      return false;
    }
    *position = '0';
  }
  return true;
}

void roundHalfAwayFromZero(Decimal& decimal, std::size_t decimals) {
  if (decimal.fractionDigits.size() <= decimals) return;
  const bool up = decimal.fractionDigits[decimals] >= '5';
  decimal.fractionDigits.resize(decimals);
  if (up && incrementDigits(decimal.fractionDigits) && incrementDigits(decimal.integerDigits)) {
    decimal.integerDigits.insert(decimal.integerDigits.begin(), '1');
  }
}

struct NumberPattern {
  std::string prefix;
  std::string suffix;
  std::size_t minimumIntegerDigits = 0;
  std::size_t minimumDecimals = 0;
  std::size_t maximumDecimals = 0;
  bool thousands = false;
};

bool isPlaceholder(char c) { return c == '#' || c == '0' || c == ',' || c == '.'; }

NumberPattern parsePattern(std::string_view section) {
  NumberPattern pattern;
  bool inNumber = false;
  bool afterNumber = false;
  bool afterPoint = false;
  char quote = 0;
  for (const char c : section) {
    if (quote) {
      if (c == quote) quote = 0;
      else (afterNumber ? pattern.suffix : pattern.prefix) += c;
      continue;
    }
    if (c == '\'' || c == '"') {
      quote = c;
      afterNumber = afterNumber || inNumber;
      continue;
    }
    if (!isPlaceholder(c) || afterNumber) {
      if (inNumber) afterNumber = true;
      (afterNumber ? pattern.suffix : pattern.prefix) += c;
      continue;
    }
    inNumber = true;
    if (c == '.') afterPoint = true;
    else if (c == ',') pattern.thousands = true;
    else if (afterPoint) {
      ++pattern.maximumDecimals;
      if (c == '0') pattern.minimumDecimals = pattern.maximumDecimals;
    } else if (c == '0') {
      ++pattern.minimumIntegerDigits;
    }
  }
  return pattern;
}

std::vector<std::string_view> sections(std::string_view format) {
  std::vector<std::string_view> parts;
  char quote = 0;
  std::size_t start = 0;
  for (std::size_t index = 0; index < format.size(); ++index) {
    const char c = format[index];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '\'' || c == '"') {
      quote = c;
    } else if (c == ';') {
      parts.push_back(format.substr(start, index - start));
      start = index + 1;
    }
  }
  parts.push_back(format.substr(start));
  return parts;
}

std::string group(const std::string& digits) {
  std::string grouped;
  for (std::size_t index = 0; index < digits.size(); ++index) {
    if (index > 0 && (digits.size() - index) % 3 == 0) grouped += ',';
    grouped += digits[index];
  }
  return grouped;
}

std::string applyPattern(double magnitude, const NumberPattern& pattern, bool negative) {
  auto decimal = decimalOf(magnitude);
  roundHalfAwayFromZero(decimal, pattern.maximumDecimals);
  while (decimal.fractionDigits.size() > pattern.minimumDecimals && decimal.fractionDigits.back() == '0') {
    decimal.fractionDigits.pop_back();
  }
  if (decimal.fractionDigits.size() < pattern.minimumDecimals) decimal.fractionDigits.resize(pattern.minimumDecimals, '0');
  auto integer = decimal.integerDigits;
  if (integer.size() < pattern.minimumIntegerDigits) {
    integer.insert(0, pattern.minimumIntegerDigits - integer.size(), '0');
  }
  if (pattern.thousands) integer = group(integer);
  const bool zero = decimal.integerDigits.find_first_not_of('0') == std::string::npos &&
                    decimal.fractionDigits.find_first_not_of('0') == std::string::npos;
  std::string text = pattern.prefix + (negative && !zero ? "-" : "") + integer;
  if (!decimal.fractionDigits.empty()) text += "." + decimal.fractionDigits;
  return text + pattern.suffix;
}

struct DateParts {
  int year = 0;
  int month = 0;
  int day = 0;
};

bool validDate(const DateParts& date) {
  static constexpr std::array<int, 12> kDays{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12 || date.day < 1) return false;
  const bool leap = (date.year % 4 == 0 && date.year % 100 != 0) || date.year % 400 == 0;
  const int days = date.month == 2 && !leap ? 28 : kDays[static_cast<std::size_t>(date.month - 1)];
  return date.day <= days;
}

std::optional<DateParts> parseIso(std::string_view text) {
  DateParts date;
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto field = [&](std::size_t at, std::size_t length, int& into) {
    return std::from_chars(text.data() + at, text.data() + at + length, into).ptr == text.data() + at + length;
  };
  if (!field(0, 4, date.year) || !field(5, 2, date.month) || !field(8, 2, date.day)) return std::nullopt;
  return validDate(date) ? std::optional(date) : std::nullopt;
}

std::string digits(int value, std::size_t width) {
  auto text = std::to_string(value);
  if (text.size() < width) text.insert(0, width - text.size(), '0');
  return text;
}

std::string isoText(const DateParts& date) {
  return digits(date.year, 4) + "-" + digits(date.month, 2) + "-" + digits(date.day, 2);
}

// Reads up to maximum digits at position; nullopt when there is none.
std::optional<int> readNumber(std::string_view text, std::size_t& position, std::size_t maximum, std::size_t& count) {
  const auto start = position;
  while (position < text.size() && position - start < maximum && text[position] >= '0' && text[position] <= '9') {
    ++position;
  }
  count = position - start;
  if (count == 0) return std::nullopt;
  int value = 0;
  std::from_chars(text.data() + start, text.data() + position, value);
  return value;
}

// Two-digit years fall into 1950..2049.
int fullYear(int year, std::size_t digitCount) {
  if (digitCount > 2) return year;
  return year < 50 ? 2000 + year : 1900 + year;
}

std::optional<DateParts> parseWithPattern(std::string_view text, std::string_view pattern) {
  DateParts date;
  std::size_t position = 0;
  std::size_t index = 0;
  while (index < pattern.size()) {
    const char token = pattern[index];
    std::size_t length = 1;
    while (index + length < pattern.size() && pattern[index + length] == token) ++length;
    if (token == 'd' || token == 'M' || token == 'y') {
      std::size_t count = 0;
      const auto value = readNumber(text, position, token == 'y' ? 4 : 2, count);
      if (!value) return std::nullopt;
      if (token == 'd') date.day = *value;
      if (token == 'M') date.month = *value;
      if (token == 'y') date.year = fullYear(*value, count);
      index += length;
      continue;
    }
    if (position >= text.size() || text[position] != token) return std::nullopt;
    ++position;
    ++index;
  }
  if (position != text.size() || !validDate(date)) return std::nullopt;
  return date;
}

}  // namespace

std::string shortestNumber(double value) {
  char buffer[400];
  const double magnitude = std::fabs(value);
  const bool plain = magnitude == 0 || (magnitude >= 1e-5 && magnitude < 1e15);
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                    plain ? std::chars_format::fixed : std::chars_format::general);
  return std::string(buffer, result.ptr);
}

std::string formatNumber(double value, std::string_view format) {
  if (format.empty() || !std::isfinite(value)) return shortestNumber(value);
  const auto parts = sections(format);
  if (value == 0 && parts.size() > 2) return applyPattern(0, parsePattern(parts[2]), false);
  if (value < 0 && parts.size() > 1 && !parts[1].empty()) return applyPattern(-value, parsePattern(parts[1]), false);
  return applyPattern(std::fabs(value), parsePattern(parts[0]), value < 0);
}

std::string formatDate(std::string_view isoDate, std::string_view pattern) {
  const auto date = parseIso(isoDate);
  if (!date) return std::string(isoDate);
  std::string text;
  std::size_t index = 0;
  while (index < pattern.size()) {
    const char token = pattern[index];
    std::size_t length = 1;
    while (index + length < pattern.size() && pattern[index + length] == token) ++length;
    if (token == 'd') text += digits(date->day, length >= 2 ? 2 : 1);
    else if (token == 'M') text += digits(date->month, length >= 2 ? 2 : 1);
    else if (token == 'y') text += length >= 3 ? digits(date->year, 4) : digits(date->year % 100, 2);
    else text += std::string(length, token);
    index += length;
  }
  return text;
}

std::optional<std::string> parseDate(std::string_view text, std::string_view pattern) {
  text = trim(text);
  if (const auto date = parseWithPattern(text, pattern)) return isoText(*date);
  if (const auto date = parseIso(text)) return isoText(*date);
  return std::nullopt;
}

std::optional<std::int64_t> parseInteger(std::string_view text) {
  text = trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  std::int64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<std::int64_t> roundedInteger(double number) {
  // 2^63 is exact as a double; every double below it converts without overflow.
  constexpr double kLimit = 9223372036854775808.0;
  const double rounded = std::round(number);
  if (!std::isfinite(rounded) || rounded < -kLimit || rounded >= kLimit) return std::nullopt;
  return static_cast<std::int64_t>(rounded);
}

std::optional<double> parseFloat(std::string_view text) {
  text = trim(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::optional<bool> parseBoolean(std::string_view text) {
  text = trim(text);
  if (equalIgnoringCase(text, "true") || text == "1") return true;
  if (equalIgnoringCase(text, "false") || text == "0") return false;
  return std::nullopt;
}

std::string leadingCharacters(std::string text, std::size_t characters) {
  std::size_t count = 0;
  for (std::size_t index = 0; index < text.size(); ++index) {
    const bool continuation = (static_cast<unsigned char>(text[index]) & 0xC0) == 0x80;
    if (!continuation && count++ == characters) {
      text.resize(index);
      break;
    }
  }
  return text;
}

std::size_t characterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

}  // namespace engine
