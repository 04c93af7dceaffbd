#pragma once
// A stored value. Integers and booleans (0/1) are int64, floats double, strings, memos and dates
// (ISO "YYYY-MM-DD") are text, blobs are bytes in a string. monostate is the empty (null) value.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace engine {

using Value = std::variant<std::monostate, std::int64_t, double, std::string>;
using Row = std::vector<Value>;

inline bool isNull(const Value& value) { return std::holds_alternative<std::monostate>(value); }

}  // namespace engine
