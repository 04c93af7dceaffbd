#pragma once
// A write and the reads that bring a dataset's view up to date after it, as one step: when any
// part fails, the database is as it was before the step (a savepoint, so it nests in transactions).
#include <sqlite3.h>

#include <string>

#include "db_engine/sqlite_statement.h"

namespace engine {

class Database;

// The savepoint's statements, prepared once per connection: a post runs them every time.
struct StoreStatements {
  explicit StoreStatements(sqlite3* connection);
  Statement begin;
  Statement release;
  Statement rollback;
};

class StoreStep {
 public:
  explicit StoreStep(Database& database);
  ~StoreStep();  // rolls back unless completed; never throws, so the first error is the one reported
  StoreStep(const StoreStep&) = delete;
  StoreStep& operator=(const StoreStep&) = delete;

  void complete();

 private:
  StoreStatements& statements_;
  bool open_ = true;
};

// The rows the last write changed: an update or delete that changed none found its row gone.
void expectOneChangedRow(sqlite3* connection, const std::string& context);

}  // namespace engine
