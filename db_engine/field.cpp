#include "db_engine/field.h"

#include <cmath>
#include <limits>

#include "db_engine/dataset.h"
#include "db_engine/errors.h"
#include "db_engine/format_settings.h"
#include "db_engine/value_text.h"

namespace engine {
namespace {

bool isText(FieldType type) {
  return type == FieldType::String || type == FieldType::Memo || type == FieldType::FormattedMemo ||
         type == FieldType::Blob;
}

bool isWholeNumber(FieldType type) { return type == FieldType::SmallInt || type == FieldType::Integer; }

std::string textOf(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* integer = std::get_if<std::int64_t>(&value)) return std::to_string(*integer);
  if (const auto* real = std::get_if<double>(&value)) return shortestNumber(*real);
  return {};
}

std::optional<double> numberOf(const Value& value) {
  if (const auto* integer = std::get_if<std::int64_t>(&value)) return static_cast<double>(*integer);
  if (const auto* real = std::get_if<double>(&value)) return *real;
  if (const auto* text = std::get_if<std::string>(&value)) return parseFloat(*text);
  return std::nullopt;
}

}  // namespace

Field::Field(Dataset& dataset, FieldDef definition, std::size_t index)
    : dataset_(dataset), definition_(std::move(definition)), index_(index) {}

std::string Field::name() const { return dataset_.name() + definition_.name; }

const Value& Field::value() const { return dataset_.currentValue(index_); }

bool Field::isNull() const { return engine::isNull(value()); }

std::string Field::asString() const { return format(value(), false); }

std::string Field::displayText() const { return format(value(), true); }

std::int64_t Field::asInteger() const {
  const auto& current = value();
  if (engine::isNull(current)) return 0;
  if (const auto* integer = std::get_if<std::int64_t>(&current)) return *integer;
  if (const auto number = numberOf(current)) {
    if (const auto integer = roundedInteger(*number)) return *integer;
  }
  throw EngineError(code::Conversion, "'" + textOf(current) + "' is not a valid integer value for field " + fieldName());
}

double Field::asFloat() const {
  const auto& current = value();
  if (engine::isNull(current)) return 0;
  if (const auto number = numberOf(current)) return *number;
  throw EngineError(code::Conversion,
                    "'" + textOf(current) + "' is not a valid floating point value for field " + fieldName());
}

bool Field::asBoolean() const {
  const auto& current = value();
  if (engine::isNull(current)) return false;
  if (const auto* text = std::get_if<std::string>(&current)) return parseBoolean(*text).value_or(false);
  return numberOf(current).value_or(0) != 0;
}

std::string Field::format(const Value& stored, bool forDisplay) const {
  if (engine::isNull(stored)) return {};
  const auto& displayFormat = forDisplay ? definition_.displayFormat : std::string();
  switch (definition_.type) {
    case FieldType::Float: {
      const auto number = numberOf(stored);
      if (!number) return textOf(stored);
      return displayFormat.empty() ? shortestNumber(*number) : formatNumber(*number, displayFormat);
    }
    case FieldType::SmallInt:
    case FieldType::Integer: {
      const auto number = numberOf(stored);
      if (!number) return textOf(stored);
      if (!displayFormat.empty()) return formatNumber(*number, displayFormat);
      if (std::holds_alternative<std::int64_t>(stored)) return textOf(stored);
      const auto integer = roundedInteger(*number);
      return integer ? std::to_string(*integer) : shortestNumber(*number);
    }
    case FieldType::Boolean: {
      const auto* text = std::get_if<std::string>(&stored);
      const bool flag = text ? parseBoolean(*text).value_or(false) : numberOf(stored).value_or(0) != 0;
      return flag ? "True" : "False";
    }
    case FieldType::Date:
      return formatDate(textOf(stored), formatSettings().shortDateFormat);
    default:
      return textOf(stored);
  }
}

void Field::setValue(Value newValue) {
  if (engine::isNull(newValue)) {
    dataset_.setFieldValue(*this, std::monostate{});
    return;
  }
  const auto type = definition_.type;
  if (isText(type)) {
    auto text = textOf(newValue);
    if (type == FieldType::String && definition_.size > 0) {
      text = leadingCharacters(std::move(text), static_cast<std::size_t>(definition_.size));
    }
    dataset_.setFieldValue(*this, std::move(text));
    return;
  }
  if (std::holds_alternative<std::string>(newValue)) {
    setAsString(std::get<std::string>(newValue));
    return;
  }
  const double number = *numberOf(newValue);
  switch (type) {
    case FieldType::Float:
      dataset_.setFieldValue(*this, number);
      break;
    case FieldType::Boolean:
      dataset_.setFieldValue(*this, std::int64_t{number != 0});
      break;
    case FieldType::Date:
      throw EngineError(code::Conversion, "'" + textOf(newValue) + "' is not a valid date for field " + fieldName());
    default: {
      const auto* integer = std::get_if<std::int64_t>(&newValue);
      const auto rounded = integer ? std::optional(*integer) : roundedInteger(number);
      if (!rounded) {
        throw EngineError(code::Conversion, "'" + textOf(newValue) + "' is not a valid integer value for field " + fieldName());
      }
      setAsString(std::to_string(*rounded));
    }
  }
}

void Field::setAsString(std::string_view text) {
  const auto type = definition_.type;
  if (text.empty()) {
    clear();
    return;
  }
  if (isText(type)) {
    setValue(std::string(text));
    return;
  }
  const auto refuse = [&](const std::string& kind) {
    return EngineError(code::Conversion, "'" + std::string(text) + "' is not a valid " + kind + " for field " + fieldName());
  };
  if (isWholeNumber(type)) {
    const auto integer = parseInteger(text);
    const bool small = type == FieldType::SmallInt;
    const std::int64_t lowest = small ? std::numeric_limits<std::int16_t>::min() : std::numeric_limits<std::int32_t>::min();
    const std::int64_t highest = small ? std::numeric_limits<std::int16_t>::max() : std::numeric_limits<std::int32_t>::max();
    if (!integer || *integer < lowest || *integer > highest) throw refuse("integer value");
    dataset_.setFieldValue(*this, *integer);
  } else if (type == FieldType::Float) {
    const auto number = parseFloat(text);
    if (!number) throw refuse("floating point value");
    dataset_.setFieldValue(*this, *number);
  } else if (type == FieldType::Boolean) {
    const auto flag = parseBoolean(text);
    if (!flag) throw refuse("boolean value");
    dataset_.setFieldValue(*this, std::int64_t{*flag});
  } else if (type == FieldType::Date) {
    auto date = parseDate(text, formatSettings().shortDateFormat);
    if (!date) throw refuse("date");
    dataset_.setFieldValue(*this, std::move(*date));
  }
}

void Field::setAsInteger(std::int64_t newValue) { setValue(newValue); }

void Field::setAsFloat(double newValue) { setValue(newValue); }

void Field::setAsBoolean(bool newValue) {
  if (isText(definition_.type)) {
    setValue(std::string(newValue ? "True" : "False"));
  } else {
    setValue(std::int64_t{newValue});
  }
}

void Field::clear() { dataset_.setFieldValue(*this, std::monostate{}); }

}  // namespace engine
