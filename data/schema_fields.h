#pragma once
// Building blocks for the table schemas, and the persistent field lists that the data modules
// take from those schemas, so a field's type and size are written down exactly once.
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "db_engine/schema.h"

namespace data {

engine::FieldDef stringField(std::string name, int size);
engine::FieldDef integerField(std::string name);
engine::FieldDef smallIntField(std::string name);
engine::FieldDef floatField(std::string name);
engine::FieldDef dateField(std::string name);
engine::FieldDef booleanField(std::string name);
engine::FieldDef memoField(std::string name, int sizeInRow);
engine::FieldDef formattedMemoField(std::string name, int sizeInRow);
engine::FieldDef required(engine::FieldDef field);

// The table of schema named tableName (matched as the engine matches table names).
// Raises std::out_of_range when the schema has no such table.
const engine::TableSchema& tableOf(const engine::DatabaseSchema& schema, std::string_view tableName);

// Persistent fields are never required: the stored table's rules decide, and the engine reports them.
std::vector<engine::FieldDef> allFields(const engine::TableSchema& table);
std::vector<engine::FieldDef> firstFields(const engine::TableSchema& table, std::size_t count);
// The named fields, in the order given; raises std::out_of_range for a name the table lacks.
std::vector<engine::FieldDef> pickFields(const engine::TableSchema& table, const std::vector<std::string>& names);

// Display formats by field name, applied to a persistent field list.
using DisplayFormats = std::map<std::string, std::string, std::less<>>;
std::vector<engine::FieldDef> withFormats(std::vector<engine::FieldDef> fields, const DisplayFormats& formats);

}  // namespace data
