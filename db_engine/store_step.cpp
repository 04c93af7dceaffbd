#include "db_engine/store_step.h"

#include "db_engine/database.h"
#include "db_engine/errors.h"

namespace engine {
namespace {

void run(Statement& statement) {
  ResetOnExit reset(statement);
  statement.step();
}

}  // namespace

StoreStatements::StoreStatements(sqlite3* connection)
    : begin(connection, "SAVEPOINT store_step", "store"),
      release(connection, "RELEASE store_step", "store"),
      rollback(connection, "ROLLBACK TO store_step", "store") {}

StoreStep::StoreStep(Database& database) : statements_(database.storeStatements()) { run(statements_.begin); }

StoreStep::~StoreStep() {
  if (!open_) return;
  try {
    run(statements_.rollback);
    run(statements_.release);
  } catch (...) {
    // The error that ended the step is the one to report.
  }
}

void StoreStep::complete() {
  run(statements_.release);
  open_ = false;
}

void expectOneChangedRow(sqlite3* connection, const std::string& context) {
  if (sqlite3_changes64(connection) == 0) {
    throw EngineError(code::RecordGone, "Record not found in table " + context + ": another user changed or deleted it");
  }
}

}  // namespace engine
