#pragma once
// Declared column types carry the field types, so any table or query column can be typed again.
#include <string>
#include <string_view>
#include <vector>

#include "db_engine/schema.h"
#include "db_engine/value.h"

namespace engine {

std::string declaredType(const FieldDef& field);  // "VARCHAR(50)", "DOUBLE", "MEMO TEXT(50)"
// The field a column of that declared type is (types of other programs by SQLite's affinity rules).
FieldDef fieldFromDeclaredType(std::string name, std::string_view declared);
FieldType typeOfValue(const Value& value);

bool equalIgnoringCase(std::string_view left, std::string_view right);
std::string lowerCase(std::string_view text);
// "CountryAbr;UnitName" -> {"CountryAbr", "UnitName"}
std::vector<std::string> splitFieldNames(std::string_view names);

}  // namespace engine
