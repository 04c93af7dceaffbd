#include "db_engine/store_step.h"

#include "db_engine/errors.h"
#include "db_engine/sqlite_statement.h"

namespace engine {

StoreStep::StoreStep(sqlite3* connection, std::string context) : connection_(connection), context_(std::move(context)) {
  executeSql(connection_, "SAVEPOINT store_step", context_);
}

StoreStep::~StoreStep() {
  if (!open_) return;
  sqlite3_exec(connection_, "ROLLBACK TO store_step; RELEASE store_step", nullptr, nullptr, nullptr);
}

void StoreStep::complete() {
  executeSql(connection_, "RELEASE store_step", context_);
  open_ = false;
}

void expectOneChangedRow(sqlite3* connection, const std::string& context) {
  if (sqlite3_changes64(connection) == 0) {
    throw EngineError(code::RecordGone, "Record not found in table " + context + ": another user changed or deleted it");
  }
}

}  // namespace engine
