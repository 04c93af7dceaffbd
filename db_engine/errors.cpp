#include "db_engine/errors.h"

namespace engine {
namespace {

std::vector<ErrorEntry> nonEmpty(std::vector<ErrorEntry> entries) {
  if (entries.empty()) entries.push_back({code::General, "Database engine error"});
  return entries;
}

}  // namespace

EngineError::EngineError(std::vector<ErrorEntry> entries)
    : std::runtime_error(nonEmpty(entries).front().message), entries_(nonEmpty(std::move(entries))) {}

EngineError::EngineError(int code, const std::string& message)
    : EngineError(std::vector<ErrorEntry>{{code, message}}) {}

}  // namespace engine
