#include "db_engine/locate_match.h"

#include <algorithm>
#include <cctype>

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

std::string likePattern(std::string_view text) {
  std::string pattern;
  for (const char c : text) {
    if (c == '%' || c == '_' || c == '\\') pattern += '\\';
    pattern += c;
  }
  return pattern + "%";
}

std::string storedText(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* integer = std::get_if<std::int64_t>(&value)) return std::to_string(*integer);
  if (const auto* real = std::get_if<double>(&value)) return shortestNumber(*real);
  return {};
}

}  // namespace

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
  if (options.partialKey && options.caseInsensitive) return {column + " LIKE ? ESCAPE '\\'", {likePattern(text)}};
  if (options.partialKey) {
    return {column + " >= ? AND " + column + " < ? AND substr(" + column + ", 1, ?) = ?",
            {target, std::string(text).append(kAboveEveryText), std::int64_t(characterCount(text)), target}};
  }
  if (options.caseInsensitive) return {column + " = ? COLLATE NOCASE", {target}};
  return {column + " = ?", {target}};
}

namespace {

// The case variants of an ASCII letter, in byte order (upper case first); other bytes have one.
std::string variants(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (std::isupper(byte)) return {c, static_cast<char>(std::tolower(byte))};
  if (std::islower(byte)) return {static_cast<char>(std::toupper(byte)), c};
  return {c};
}

bool isVariant(char found, char wanted) { return variants(wanted).find(found) != std::string::npos; }

std::string lowestVariant(std::string_view text) {
  std::string lowest;
  for (const char c : text) lowest += variants(c).front();
  return lowest;
}

// The next text after found's first characters that starts with a larger case variant of
// wanted's first `upto` characters; nullopt when found already has the largest.
std::optional<std::string> nextVariant(std::string_view found, std::string_view wanted, std::size_t upto) {
  for (std::size_t position = upto; position-- > 0;) {
    const auto choices = variants(wanted[position]);
    const auto next = std::find_if(choices.begin(), choices.end(), [&](char c) {
      return static_cast<unsigned char>(c) > static_cast<unsigned char>(found[position]);
    });
    if (next != choices.end()) {
      return std::string(found.substr(0, position)) + *next + lowestVariant(wanted.substr(position + 1));
    }
  }
  return std::nullopt;
}

}  // namespace

std::string firstCaseVariant(std::string_view wanted) { return lowestVariant(wanted); }

std::string lastCaseVariant(std::string_view wanted, bool partial) {
  std::string highest;
  for (const char c : wanted) highest += variants(c).back();
  return partial ? highest.append(kAboveEveryText) : highest;
}

bool matchesIgnoringCase(std::string_view found, std::string_view wanted, bool partial) {
  if (partial ? found.size() < wanted.size() : found.size() != wanted.size()) return false;
  return equalIgnoringCase(found.substr(0, wanted.size()), wanted);
}

std::optional<std::string> nextCaseVariant(std::string_view found, std::string_view wanted) {
  std::size_t same = 0;
  while (same < wanted.size() && same < found.size() && isVariant(found[same], wanted[same])) ++same;
  if (same == wanted.size()) return nextVariant(found, wanted, same);
  if (same == found.size()) return std::string(found) + lowestVariant(wanted.substr(same));
  const auto choices = variants(wanted[same]);
  const auto next = std::find_if(choices.begin(), choices.end(), [&](char c) {
    return static_cast<unsigned char>(c) > static_cast<unsigned char>(found[same]);
  });
  if (next != choices.end()) return std::string(found.substr(0, same)) + *next + lowestVariant(wanted.substr(same + 1));
  return nextVariant(found, wanted, same);
}

bool locateMatches(const Field& field, const Value& stored, const Value& target, LocateOptions options) {
  if (isEmptyValue(target)) return isEmptyValue(stored);
  if (isEmptyValue(stored)) return false;
  if (!isText(field.dataType())) return compareValues(stored, target) == 0;
  auto text = storedText(stored);
  auto wanted = std::get<std::string>(target);
  if (options.caseInsensitive) {
    text = lowerCase(text);
    wanted = lowerCase(wanted);
  }
  if (options.partialKey) return text.compare(0, wanted.size(), wanted) == 0;
  return text == wanted;
}

}  // namespace engine
