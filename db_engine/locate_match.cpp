#include "db_engine/locate_match.h"

#include <unicode/uchar.h>
#include <unicode/uniset.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "db_engine/column_types.h"
#include "db_engine/filter_expression.h"
#include "db_engine/format_settings.h"
#include "db_engine/sqlite_statement.h"
#include "db_engine/value_text.h"

namespace engine {
namespace {

// Sorts after any text that starts with the same characters.
constexpr std::string_view kAboveEveryText = "\xFF\xFF\xFF\xFF";

bool isText(FieldType type) {
  return type == FieldType::String || type == FieldType::Memo || type == FieldType::FormattedMemo;
}

std::string storedText(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* integer = std::get_if<std::int64_t>(&value)) return std::to_string(*integer);
  if (const auto* real = std::get_if<double>(&value)) return shortestNumber(*real);
  return {};
}

// fold_case(text): the text with its case folded, as foldCase does; other values pass unchanged.
void foldCaseFunction(sqlite3_context* context, int, sqlite3_value** arguments) {
  if (sqlite3_value_type(arguments[0]) != SQLITE_TEXT) {
    sqlite3_result_value(context, arguments[0]);
    return;
  }
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(arguments[0]));
  const std::string result = foldCase(std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(arguments[0]))));
  sqlite3_result_text(context, result.data(), static_cast<int>(result.size()), SQLITE_TRANSIENT);
}

}  // namespace

void addFoldCaseFunction(sqlite3* connection) {
  sqlite3_create_function(connection, kFoldCaseFunction, 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                          nullptr, foldCaseFunction, nullptr, nullptr);
}

std::optional<Value> locateTarget(const Field& field, std::string_view text) {
  if (text.empty()) return Value{};
  switch (field.dataType()) {
    case FieldType::SmallInt:
    case FieldType::Integer:
      if (const auto integer = parseInteger(text)) return Value{*integer};
      return std::nullopt;
    case FieldType::Float:
      if (const auto real = parseFloat(text)) return Value{*real};
      return std::nullopt;
    case FieldType::Boolean:
      if (const auto flag = parseBoolean(text)) return Value{std::int64_t{*flag}};
      return std::nullopt;
    case FieldType::Date:
      if (auto date = parseDate(text, formatSettings().shortDateFormat)) return Value{std::move(*date)};
      return std::nullopt;
    default:
      return Value{std::string(text)};
  }
}

SqlCondition locateCondition(const Field& field, const Value& target, LocateOptions options) {
  const auto column = quoteIdentifier(field.fieldName());
  if (isEmptyValue(target)) return {"(" + column + " IS NULL OR " + column + " = '')", {}};
  if (!isText(field.dataType())) return {column + " = ?", {target}};
  const auto& text = std::get<std::string>(target);
  // The bounds let an index seek to the rows that can match; the last test decides.
  if (options.partialKey && options.caseInsensitive) {
    const std::string folded = foldCase(text);
    return {"substr(" + std::string(kFoldCaseFunction) + "(" + column + "), 1, ?) = ?",
            {std::int64_t(characterCount(folded)), folded}};
  }
  if (options.partialKey) {
    return {column + " >= ? AND " + column + " < ? AND substr(" + column + ", 1, ?) = ?",
            {target, std::string(text).append(kAboveEveryText), std::int64_t(characterCount(text)), target}};
  }
  if (options.caseInsensitive) return {std::string(kFoldCaseFunction) + "(" + column + ") = ?", {Value{foldCase(text)}}};
  return {column + " = ?", {target}};
}

namespace {

// Case is folded one code point at a time (Unicode simple case folding), so a folded text has as
// many code points as the text and a prefix stays a prefix. Texts are UTF-8; UTF-8 sorts bytewise
// in code point order, which is what lets the search below seek through a binary index.
std::u32string codePoints(std::string_view text) {
  std::u32string points;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  const auto length = static_cast<std::int32_t>(text.size());
  for (std::int32_t offset = 0; offset < length;) {
    UChar32 point = 0;
    U8_NEXT_OR_FFFD(bytes, offset, length, point);
    points.push_back(static_cast<char32_t>(point));
  }
  return points;
}

std::string utf8(std::u32string_view points) {
  std::string text;
  for (const char32_t point : points) {
    std::uint8_t bytes[U8_MAX_LENGTH];
    std::int32_t length = 0;
    U8_APPEND_UNSAFE(bytes, length, point);
    text.append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
  }
  return text;
}

char32_t folded(char32_t point) { return static_cast<char32_t>(u_foldCase(static_cast<UChar32>(point), U_FOLD_CASE_DEFAULT)); }

// Every code point that folds as this one does ("k", "K" and the Kelvin sign), in ascending order.
const std::u32string& variants(char32_t point) {
  thread_local std::unordered_map<char32_t, std::u32string> known;
  auto [entry, added] = known.try_emplace(point);
  if (!added) return entry->second;
  icu::UnicodeSet closure(static_cast<UChar32>(point), static_cast<UChar32>(point));
  closure.closeOver(USET_CASE_INSENSITIVE);
  for (std::int32_t range = 0; range < closure.getRangeCount(); ++range) {
    for (UChar32 other = closure.getRangeStart(range); other <= closure.getRangeEnd(range); ++other) {
      if (folded(static_cast<char32_t>(other)) == folded(point)) entry->second.push_back(static_cast<char32_t>(other));
    }
  }
  return entry->second;
}

bool isVariant(char32_t found, char32_t wanted) { return folded(found) == folded(wanted); }

std::u32string lowestVariant(std::u32string_view text) {
  std::u32string lowest;
  for (const char32_t point : text) lowest += variants(point).front();
  return lowest;
}

// The first variant of wanted that sorts after found, if any.
std::optional<char32_t> variantAfter(char32_t wanted, char32_t found) {
  const auto& choices = variants(wanted);
  const auto next = std::upper_bound(choices.begin(), choices.end(), found);
  if (next == choices.end()) return std::nullopt;
  return *next;
}

// The next text after found's first characters that starts with a larger case variant of
// wanted's first `upto` characters; nullopt when found already has the largest.
std::optional<std::u32string> nextVariant(std::u32string_view found, std::u32string_view wanted, std::size_t upto) {
  for (std::size_t position = upto; position-- > 0;) {
    if (const auto next = variantAfter(wanted[position], found[position])) {
      return std::u32string(found.substr(0, position)) + *next + lowestVariant(wanted.substr(position + 1));
    }
  }
  return std::nullopt;
}

}  // namespace

std::string foldCase(std::string_view text) {
  std::u32string points = codePoints(text);
  for (char32_t& point : points) point = folded(point);
  return utf8(points);
}

std::string firstCaseVariant(std::string_view wanted) { return utf8(lowestVariant(codePoints(wanted))); }

std::string lastCaseVariant(std::string_view wanted, bool partial) {
  std::u32string highest;
  for (const char32_t point : codePoints(wanted)) highest += variants(point).back();
  std::string text = utf8(highest);
  return partial ? text.append(kAboveEveryText) : text;
}

bool matchesIgnoringCase(std::string_view found, std::string_view wanted, bool partial) {
  const std::string text = foldCase(found);
  const std::string pattern = foldCase(wanted);
  return partial ? text.starts_with(pattern) : text == pattern;
}

std::optional<std::string> nextCaseVariant(std::string_view foundText, std::string_view wantedText) {
  const std::u32string found = codePoints(foundText);
  const std::u32string wanted = codePoints(wantedText);
  std::size_t same = 0;
  while (same < wanted.size() && same < found.size() && isVariant(found[same], wanted[same])) ++same;
  std::optional<std::u32string> next;
  if (same == wanted.size()) {
    next = nextVariant(found, wanted, same);
  } else if (same == found.size()) {
    next = found + lowestVariant(std::u32string_view(wanted).substr(same));
  } else if (const auto larger = variantAfter(wanted[same], found[same])) {
    next = found.substr(0, same) + *larger + lowestVariant(std::u32string_view(wanted).substr(same + 1));
  } else {
    next = nextVariant(found, wanted, same);
  }
  if (!next) return std::nullopt;
  return utf8(*next);
}

bool locateMatches(const Field& field, const Value& stored, const Value& target, LocateOptions options) {
  if (isEmptyValue(target)) return isEmptyValue(stored);
  if (isEmptyValue(stored)) return false;
  if (!isText(field.dataType())) return compareValues(stored, target) == 0;
  auto text = storedText(stored);
  auto wanted = std::get<std::string>(target);
  if (options.caseInsensitive) {
    text = foldCase(text);
    wanted = foldCase(wanted);
  }
  if (options.partialKey) return text.compare(0, wanted.size(), wanted) == 0;
  return text == wanted;
}

}  // namespace engine
