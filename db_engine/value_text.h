#pragma once
// Text forms of stored values: numbers (shortest and with display formats), dates in the short
// date format, booleans, and the parsers that read them back.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace engine {

// Shortest text that reads back as the same double: "4600000000", "0.3", "1e+20".
std::string shortestNumber(double value);
// Display formats like "###0.00", "#,##0.0#", "0.00;(0.00)": '0' digit always shown, '#' digit when
// significant, ',' thousands separators, '.' decimal point, other characters literal; optional
// sections for negative and zero. Rounds half away from zero on the decimal value.
std::string formatNumber(double value, std::string_view format);

// ISO date text "YYYY-MM-DD" written in pattern (tokens d, dd, M, MM, yy, yyyy).
std::string formatDate(std::string_view isoDate, std::string_view pattern);
// Text in pattern or in ISO form to ISO date text; nullopt for text that is no valid date.
std::optional<std::string> parseDate(std::string_view text, std::string_view pattern);

std::optional<std::int64_t> parseInteger(std::string_view text);
// The integer nearest to number; none when it is not finite or lies beyond the 64-bit range.
std::optional<std::int64_t> roundedInteger(double number);
std::optional<double> parseFloat(std::string_view text);
std::optional<bool> parseBoolean(std::string_view text);  // "True"/"False" in any case, "1"/"0"

// The first characters (not bytes) of UTF-8 text.
std::string leadingCharacters(std::string text, std::size_t characters);
std::size_t characterCount(std::string_view text);

}  // namespace engine
