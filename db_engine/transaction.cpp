#include "db_engine/transaction.h"

#include <exception>

#include "db_engine/database.h"

namespace engine {

Transaction::Transaction(Database& database, Kind kind) : database_(database) {
  if (kind == Kind::Write) {
    database_.startTransaction();
    return;
  }
  database_.execute("BEGIN DEFERRED");
  try {
    // A deferred transaction takes its snapshot at its first read: take it now.
    database_.execute("SELECT count(*) FROM sqlite_schema");
  } catch (...) {
    rollback();
    throw;
  }
}

Transaction::~Transaction() {
  if (open_) rollback();
}

void Transaction::commit() {
  try {
    database_.commit();
  } catch (...) {
    // SQLite keeps a transaction whose commit failed open, lock and all.
    rollback();
    throw;
  }
  open_ = false;
}

// The failure that led here is what the caller reports; a rollback that fails as well (the
// transaction already undone by the engine, a view that cannot be read again) adds nothing to it.
void Transaction::rollback() noexcept {
  open_ = false;
  try {
    if (database_.inTransaction()) database_.rollback();
  } catch (const std::exception&) {
  }
}

}  // namespace engine
