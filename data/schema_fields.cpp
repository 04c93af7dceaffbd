#include "data/schema_fields.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace data {

namespace {

engine::FieldDef makeField(std::string name, engine::FieldType type, int size = 0) {
  engine::FieldDef field;
  field.name = std::move(name);
  field.type = type;
  field.size = size;
  return field;
}

engine::FieldDef persistent(engine::FieldDef field) {
  field.required = false;
  return field;
}

bool sameName(std::string_view left, std::string_view right) {
  return std::equal(left.begin(), left.end(), right.begin(), right.end(), [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
  });
}

}  // namespace

engine::FieldDef stringField(std::string name, int size) {
  return makeField(std::move(name), engine::FieldType::String, size);
}
engine::FieldDef integerField(std::string name) { return makeField(std::move(name), engine::FieldType::Integer); }
engine::FieldDef smallIntField(std::string name) { return makeField(std::move(name), engine::FieldType::SmallInt); }
engine::FieldDef floatField(std::string name) { return makeField(std::move(name), engine::FieldType::Float); }
engine::FieldDef dateField(std::string name) { return makeField(std::move(name), engine::FieldType::Date); }
engine::FieldDef booleanField(std::string name) { return makeField(std::move(name), engine::FieldType::Boolean); }
engine::FieldDef memoField(std::string name, int sizeInRow) {
  return makeField(std::move(name), engine::FieldType::Memo, sizeInRow);
}
engine::FieldDef formattedMemoField(std::string name, int sizeInRow) {
  return makeField(std::move(name), engine::FieldType::FormattedMemo, sizeInRow);
}
engine::FieldDef required(engine::FieldDef field) {
  field.required = true;
  return field;
}

const engine::TableSchema& tableOf(const engine::DatabaseSchema& schema, std::string_view tableName) {
  const std::string wanted = engine::canonicalTableName(tableName);
  for (const engine::TableSchema& table : schema.tables) {
    if (sameName(engine::canonicalTableName(table.name), wanted)) return table;
  }
  throw std::out_of_range("No table " + std::string(tableName) + " in the schema of " + schema.name);
}

std::vector<engine::FieldDef> allFields(const engine::TableSchema& table) {
  return firstFields(table, table.fields.size());
}

std::vector<engine::FieldDef> firstFields(const engine::TableSchema& table, std::size_t count) {
  std::vector<engine::FieldDef> fields;
  for (std::size_t index = 0; index < count && index < table.fields.size(); ++index) {
    fields.push_back(persistent(table.fields[index]));
  }
  return fields;
}

std::vector<engine::FieldDef> pickFields(const engine::TableSchema& table, const std::vector<std::string>& names) {
  std::vector<engine::FieldDef> fields;
  for (const std::string& name : names) {
    const auto found = std::find_if(table.fields.begin(), table.fields.end(),
                                    [&](const engine::FieldDef& field) { return field.name == name; });
    if (found == table.fields.end()) throw std::out_of_range("No field " + name + " in table " + table.name);
    fields.push_back(persistent(*found));
  }
  return fields;
}

std::vector<engine::FieldDef> withFormats(std::vector<engine::FieldDef> fields, const DisplayFormats& formats) {
  for (engine::FieldDef& field : fields) {
    const auto format = formats.find(field.name);
    if (format != formats.end()) field.displayFormat = format->second;
  }
  return fields;
}

}  // namespace data
