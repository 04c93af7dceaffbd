#include "db_engine/schema.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "db_engine/column_types.h"

namespace engine {
namespace {

// The number in "NAME(n)", or 0.
int sizeInParentheses(std::string_view declared) {
  const auto open = declared.find('(');
  if (open == std::string_view::npos) return 0;
  int size = 0;
  std::from_chars(declared.data() + open + 1, declared.data() + declared.size(), size);
  return size;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

// SQLite's own affinity rules, for columns declared by others.
FieldType affinityType(std::string_view upper) {
  if (upper.empty()) return FieldType::String;
  if (upper.find("INT") != std::string_view::npos) return FieldType::Integer;
  if (upper.find("CHAR") != std::string_view::npos || upper.find("CLOB") != std::string_view::npos ||
      upper.find("TEXT") != std::string_view::npos) {
    return FieldType::String;
  }
  if (upper.find("BLOB") != std::string_view::npos) return FieldType::Blob;
  return FieldType::Float;
}

}  // namespace

std::string canonicalTableName(std::string_view name) {
  if (name.size() > 3 && equalIgnoringCase(name.substr(name.size() - 3), ".db")) name.remove_suffix(3);
  return std::string(name);
}

bool equalIgnoringCase(std::string_view left, std::string_view right) {
  return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

std::vector<std::string> splitFieldNames(std::string_view names) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= names.size()) {
    const auto end = std::min(names.find(';', start), names.size());
    auto part = names.substr(start, end - start);
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
    if (!part.empty()) parts.emplace_back(part);
    start = end + 1;
  }
  return parts;
}

std::string declaredType(const FieldDef& field) {
  const auto size = std::to_string(field.size);
  switch (field.type) {
    case FieldType::String: return "VARCHAR(" + size + ")";
    case FieldType::SmallInt: return "SMALLINT";
    case FieldType::Integer: return "INTEGER";
    case FieldType::Float: return "DOUBLE";
    case FieldType::Date: return "DATE";
    case FieldType::Boolean: return "BOOLEAN";
    case FieldType::Memo: return "MEMO TEXT(" + size + ")";
    case FieldType::FormattedMemo: return "FORMATTED MEMO TEXT(" + size + ")";
    case FieldType::Blob: return "BLOB";
  }
  return "BLOB";
}

FieldDef fieldFromDeclaredType(std::string name, std::string_view declared) {
  std::string upper(declared);
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  FieldDef field{std::move(name)};
  field.size = sizeInParentheses(upper);
  if (startsWith(upper, "VARCHAR")) field.type = FieldType::String;
  else if (upper == "SMALLINT") field.type = FieldType::SmallInt;
  else if (upper == "INTEGER") field.type = FieldType::Integer;
  else if (upper == "DOUBLE") field.type = FieldType::Float;
  else if (upper == "DATE") field.type = FieldType::Date;
  else if (upper == "BOOLEAN") field.type = FieldType::Boolean;
  else if (startsWith(upper, "MEMO")) field.type = FieldType::Memo;
  else if (startsWith(upper, "FORMATTED MEMO")) field.type = FieldType::FormattedMemo;
  else field.type = affinityType(upper);
  return field;
}

FieldType typeOfValue(const Value& value) {
  if (std::holds_alternative<std::int64_t>(value)) return FieldType::Integer;
  if (std::holds_alternative<double>(value)) return FieldType::Float;
  return FieldType::String;
}

}  // namespace engine
