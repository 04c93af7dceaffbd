#pragma once
// How a locate compares a field with the text it is given, in SQL (tables) and in memory (queries).
#include <sqlite3.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db_engine/dataset.h"
#include "db_engine/field.h"

namespace engine {

// The value to look for; empty text gives the empty value; nullopt for text that no value of the
// field can equal (a bad number), which matches no row.
std::optional<Value> locateTarget(const Field& field, std::string_view text);

struct SqlCondition {
  std::string sql;
  std::vector<Value> parameters;
};
// Partial keys and case-insensitivity apply to text fields; case is folded for all of Unicode.
SqlCondition locateCondition(const Field& field, const Value& target, LocateOptions options);
bool locateMatches(const Field& field, const Value& stored, const Value& target, LocateOptions options);

// The text with the case of every character folded (Unicode simple case folding, through ICU):
// "Öhningen" and "öHNINGEN" fold alike. As many characters as the text.
std::string foldCase(std::string_view text);
// The SQL function fold_case(text) that locateCondition uses; every connection registers it.
inline constexpr const char* kFoldCaseFunction = "fold_case";
void addFoldCaseFunction(sqlite3* connection);

// Case-insensitive search through an index in byte order, by skipping: seek to the first text at
// or after firstCaseVariant(wanted); while the text found does not match, seek again to
// nextCaseVariant(found, wanted) (nullopt: no later text can match), never beyond
// lastCaseVariant(wanted, partial). The case variants of a character are those that fold alike.
std::string firstCaseVariant(std::string_view wanted);
std::string lastCaseVariant(std::string_view wanted, bool partial);  // no match sorts after it
bool matchesIgnoringCase(std::string_view found, std::string_view wanted, bool partial);
std::optional<std::string> nextCaseVariant(std::string_view found, std::string_view wanted);

}  // namespace engine
