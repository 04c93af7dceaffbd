#pragma once
// Filter expressions: comparisons of a field with a constant ("Years<4600000000", "Name='X'") by
// =, <>, !=, <, <=, > or >=, joined by and / or / not with parentheses. An empty value (null, or
// empty text) counts as lower than every constant. Tables translate an expression to SQL with
// bound parameters, queries test their rows in memory; both give the same answer.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db_engine/schema.h"
#include "db_engine/value.h"

namespace engine {

struct FilterField {
  std::size_t index;  // position in the dataset's fields and rows
  std::string column;
  FieldType type;
};

class FilterExpression {
 public:
  using Resolver = std::function<std::optional<FilterField>(std::string_view name)>;

  // Raises EngineError naming the dataset for bad text or an unknown field.
  static FilterExpression parse(std::string_view text, const Resolver& resolve, const std::string& dataset);

  FilterExpression(FilterExpression&&) noexcept;
  FilterExpression& operator=(FilterExpression&&) noexcept;
  ~FilterExpression();

  // An SQL condition with "?" placeholders for parameters(), in order.
  std::string sql() const;
  std::vector<Value> parameters() const;
  bool matches(const Row& row) const;

  struct Node;

 private:
  explicit FilterExpression(std::unique_ptr<Node> root);
  std::unique_ptr<Node> root_;
};

// Orders values as the engine does: empty first, then numbers, then text (bytewise).
int compareValues(const Value& left, const Value& right);
bool isEmptyValue(const Value& value);

}  // namespace engine
