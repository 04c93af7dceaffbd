#pragma once
// The rows of a query result, held a window at a time instead of whole: the result is counted
// once per run, and rows are read in windows through LIMIT and OFFSET (SQLite skips the rows
// before the offset without computing their columns). A run that finds the same parameter values
// and an unchanged database keeps what it has.
#include <sqlite3.h>

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "db_engine/sqlite_statement.h"
#include "db_engine/value.h"

namespace engine {

class FilterExpression;

// Parameter values by name (without the colon), as a run binds them.
using Bindings = std::vector<std::pair<std::string, Value>>;

class ResultWindow {
 public:
  // sql: the query's own SELECT statement.
  void prepare(sqlite3* connection, const std::string& sql, const std::string& context);
  void clear();  // forgets the run; the statements stay prepared
  void invalidate() { stateOfRun_.reset(); }  // the next run reads again

  // The first rows with every column of the result, to learn the types of undeclared columns.
  std::vector<Row> sample(const Bindings& bindings, std::size_t count);
  // Counts the rows and keeps the positions of those that pass the filter. force: run again even
  // when the parameter values and the database look unchanged (after a write through the query).
  void run(const Bindings& bindings, const std::vector<std::size_t>& fieldColumns, const FilterExpression* filter,
           unsigned filterSerial, bool force);

  std::size_t size() const { return visible_ ? visible_->size() : count_; }
  // A visible row, aligned with the fields. The reference stays valid until the window after
  // the next one is read.
  const Row& row(std::size_t index);
  // The first visible row that matches, in one pass over the result.
  std::optional<std::size_t> find(const std::function<bool(const Row&)>& matches);

 private:
  struct Window {
    std::size_t first = 0;  // position in the result of rows[0]
    std::vector<Row> rows;
    bool holds(std::size_t position) const { return position >= first && position - first < rows.size(); }
  };
  std::size_t positionOf(std::size_t index) const { return visible_ ? (*visible_)[index] : index; }
  void bind(Statement& statement, std::int64_t limit, std::int64_t offset) const;
  Row aligned(const Statement& statement) const;
  void readWindow(std::size_t position);
  std::pair<std::int64_t, std::int64_t> databaseState() const;

  sqlite3* connection_ = nullptr;
  Statement rows_;     // the result, from an offset, at most a limit of rows
  Statement counting_;
  mutable Statement dataVersion_;
  Bindings bindings_;  // of the current run
  std::vector<std::size_t> fieldColumns_;
  unsigned filterSerial_ = 0;
  std::optional<std::pair<std::int64_t, std::int64_t>> stateOfRun_;  // none: no run yet
  std::size_t count_ = 0;
  std::optional<std::vector<std::size_t>> visible_;  // positions passing the filter, when filtered
  Window current_;
  Window previous_;
  std::size_t windowSize_ = 0;
};

}  // namespace engine
