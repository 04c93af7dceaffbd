#pragma once
// A field object of a dataset: typed access to one column of the current row.
#include <cstdint>
#include <string>
#include <string_view>

#include "db_engine/schema.h"
#include "db_engine/value.h"

namespace engine {

class Dataset;

class Field {
 public:
  Field(Dataset& dataset, FieldDef definition, std::size_t index);
  Field(const Field&) = delete;
  Field& operator=(const Field&) = delete;

  Dataset& dataset() const { return dataset_; }
  const std::string& fieldName() const { return definition_.name; }  // "Years"
  std::string name() const;                                          // persistent name "VORLListYears"
  FieldType dataType() const { return definition_.type; }
  int size() const { return definition_.size; }
  const FieldDef& definition() const { return definition_; }
  std::size_t index() const { return index_; }  // position in Dataset::fields() and in a Row

  const std::string& displayFormat() const { return definition_.displayFormat; }
  void setDisplayFormat(std::string format) { definition_.displayFormat = std::move(format); }

  // Reading the current row (an inactive or empty dataset reads as null).
  const Value& value() const;
  bool isNull() const;
  std::string asString() const;     // edit text: booleans "True"/"False", dates in the short date format
  std::string displayText() const;  // asString with the display format applied to numbers
  std::int64_t asInteger() const;   // null reads as 0
  double asFloat() const;           // null reads as 0
  bool asBoolean() const;           // null reads as false

  // Writing needs the dataset in edit or insert mode (else EngineError NotEditing, or ReadOnly).
  // Strings longer than size() are cut to size() characters (UTF-8 aware) without a message.
  // setAsString converts text to the field's type; empty text clears; bad text raises Conversion.
  void setValue(Value value);
  void setAsString(std::string_view text);
  void setAsInteger(std::int64_t value);
  void setAsFloat(double value);
  void setAsBoolean(bool value);
  void clear();

  // Formats any stored value of this field the way displayText() formats the current one
  // (used by grids for rows other than the current).
  std::string format(const Value& value, bool forDisplay = true) const;

 private:
  Dataset& dataset_;
  FieldDef definition_;
  std::size_t index_;
};

}  // namespace engine
