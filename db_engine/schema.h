#pragma once
// Declared table schemas: field types and sizes, keys, named indexes and integrity rules.
// Schemas are declared once (in the data layer) and used both to create databases and to
// describe persistent fields.
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace engine {

enum class FieldType { String, SmallInt, Integer, Float, Date, Boolean, Memo, FormattedMemo, Blob };

// A field of a table or a persistent field of a dataset. For strings size is the length in
// characters (longer values are cut without a message); for memos it is the part kept in the row
// (informational only). displayFormat applies to numbers ("###0.00").
struct FieldDef {
  std::string name;
  FieldType type = FieldType::String;
  int size = 0;
  bool required = false;
  std::string displayFormat = {};
};

// A named secondary index; the primary key is declared separately on the table.
struct IndexDef {
  std::string name;
  std::vector<std::string> fields;
  bool unique = false;
};

// Value of field must be present in lookupTable.lookupField (empty values pass). Refusal: 9736.
struct LookupRule {
  std::string field;
  std::string lookupTable;
  std::string lookupField;
};

// Referential rule: fields must name an existing row of masterTable (refusal 9733); a master row
// that still has such detail rows cannot be deleted or have its key changed (refusal 9734).
// Rows whose link fields are all empty are not checked.
struct ReferenceRule {
  std::vector<std::string> fields;
  std::string masterTable;
  std::vector<std::string> masterFields;
};

// Numeric bounds of a field (refusals 9730 below the minimum, 9731 above the maximum).
struct RangeRule {
  std::string field;
  std::optional<double> minimum;
  std::optional<double> maximum;
};

// Any other row condition, an SQL expression over the row's fields (refusal 9728).
struct CheckRule {
  std::string name;
  std::string expression;
};

using IntegrityRule = std::variant<LookupRule, ReferenceRule, RangeRule, CheckRule>;

struct TableSchema {
  std::string name;                     // as the program names it, e.g. "VORLLIST.DB"
  std::vector<FieldDef> fields;         // in table order
  std::vector<std::string> primaryKey;  // empty: rows are kept in insertion order
  std::vector<IndexDef> indexes;
  std::vector<IntegrityRule> rules;
};

struct DatabaseSchema {
  std::string name;  // for messages, e.g. "VORL"
  std::vector<TableSchema> tables;
};

// Canonical table name: ".DB" extension dropped (any letter case); lookups ignore case.
std::string canonicalTableName(std::string_view name);

}  // namespace engine
