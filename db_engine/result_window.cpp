#include "db_engine/result_window.h"

#include <algorithm>

#include "db_engine/column_types.h"
#include "db_engine/filter_expression.h"

namespace engine {
namespace {

// Windows grow while a walk goes front to back, so that it costs few reads; 2,048 wide rows of
// the result table stay within a few megabytes.
constexpr std::size_t kSmallestWindow = 128;
constexpr std::size_t kLargestWindow = 2048;

// The statement without what follows its semicolon, so that it can stand in parentheses; the
// line break keeps a trailing comment from swallowing the closing one.
std::string enclosed(sqlite3* connection, const std::string& sql) {
  sqlite3_stmt* statement = nullptr;
  const char* tail = nullptr;
  sqlite3_prepare_v2(connection, sql.c_str(), static_cast<int>(sql.size()), &statement, &tail);
  sqlite3_finalize(statement);
  auto text = tail ? sql.substr(0, static_cast<std::size_t>(tail - sql.c_str())) : sql;
  const auto end = text.find_last_not_of(" \t\r\n;");
  return "(\n" + text.substr(0, end == std::string::npos ? 0 : end + 1) + "\n)";
}

}  // namespace

void ResultWindow::prepare(sqlite3* connection, const std::string& sql, const std::string& context) {
  connection_ = connection;
  try {
    rows_ = Statement(connection, "SELECT * FROM " + enclosed(connection, sql) + " LIMIT ? OFFSET ?", context);
    counting_ = Statement(connection, "SELECT count(*) FROM " + enclosed(connection, sql), context);
  } catch (const EngineError&) {
    throw EngineError(code::SqlError, "Query " + context + " is not a SELECT statement and cannot be opened");
  }
  dataVersion_ = Statement(connection, "PRAGMA data_version", context);
  clear();
}

void ResultWindow::clear() {
  stateOfRun_.reset();
  bindings_.clear();
  visible_.reset();
  count_ = 0;
  current_ = {};
  previous_ = {};
}

// Binds the query's parameters by name; the limit and the offset are the last two markers.
void ResultWindow::bind(Statement& statement, std::int64_t limit, std::int64_t offset) const {
  const int markers = sqlite3_bind_parameter_count(statement.get());
  for (int index = 1; index <= markers; ++index) {
    const char* marker = sqlite3_bind_parameter_name(statement.get(), index);
    if (!marker) continue;
    const auto found = std::find_if(bindings_.begin(), bindings_.end(),
                                    [&](const auto& binding) { return equalIgnoringCase(binding.first, marker + 1); });
    if (found != bindings_.end()) statement.bind(index, found->second);
  }
  if (&statement == &rows_) {
    statement.bind(markers - 1, limit);
    statement.bind(markers, offset);
  }
}

Row ResultWindow::aligned(const Statement& statement) const {
  Row row;
  row.reserve(fieldColumns_.size());
  for (const auto column : fieldColumns_) row.push_back(statement.column(static_cast<int>(column)));
  return row;
}

// This connection's changes and the other connections' commits, as SQLite counts them.
std::pair<std::int64_t, std::int64_t> ResultWindow::databaseState() const {
  ResetOnExit reset(dataVersion_);
  dataVersion_.step();
  return {std::get<std::int64_t>(dataVersion_.column(0)), sqlite3_total_changes64(connection_)};
}

std::vector<Row> ResultWindow::sample(const Bindings& bindings, std::size_t count) {
  bindings_ = bindings;
  bind(rows_, static_cast<std::int64_t>(count), 0);
  ResetOnExit reset(rows_);
  std::vector<Row> rows;
  while (rows.size() < count && rows_.step()) {
    Row row(static_cast<std::size_t>(rows_.columnCount()));
    for (std::size_t column = 0; column < row.size(); ++column) row[column] = rows_.column(static_cast<int>(column));
    rows.push_back(std::move(row));
  }
  stateOfRun_.reset();
  return rows;
}

void ResultWindow::run(const Bindings& bindings, const std::vector<std::size_t>& fieldColumns,
                       const FilterExpression* filter, unsigned filterSerial, bool force) {
  const auto state = databaseState();
  if (!force && stateOfRun_ == state && bindings == bindings_ && filterSerial == filterSerial_) return;
  clear();
  bindings_ = bindings;
  fieldColumns_ = fieldColumns;
  filterSerial_ = filterSerial;
  windowSize_ = kSmallestWindow;
  if (filter) {
    std::vector<std::size_t> visible;
    bind(rows_, -1, 0);
    ResetOnExit reset(rows_);
    for (std::size_t position = 0; rows_.step(); ++position) {
      if (filter->matches(aligned(rows_))) visible.push_back(position);
    }
    visible_ = std::move(visible);
  } else {
    bind(counting_, 0, 0);
    ResetOnExit reset(counting_);
    counting_.step();
    count_ = static_cast<std::size_t>(std::get<std::int64_t>(counting_.column(0)));
  }
  stateOfRun_ = state;
}

const Row& ResultWindow::row(std::size_t index) {
  const auto position = positionOf(index);
  if (!current_.holds(position)) {
    if (previous_.holds(position)) std::swap(current_, previous_);
    else readWindow(position);
  }
  static const Row kGone;  // a row deleted by another user since the count
  if (!current_.holds(position)) return kGone;
  return current_.rows[position - current_.first];
}

void ResultWindow::readWindow(std::size_t position) {
  const bool onward = !current_.rows.empty() && position == current_.first + current_.rows.size();
  windowSize_ = onward ? std::min(windowSize_ * 2, kLargestWindow) : kSmallestWindow;
  // A step back reads the rows before the position, as a grid scrolling up needs them.
  const bool back = !current_.rows.empty() && position < current_.first;
  Window window;
  window.first = back ? position + 1 - std::min(position + 1, windowSize_) : position;
  bind(rows_, static_cast<std::int64_t>(windowSize_), static_cast<std::int64_t>(window.first));
  ResetOnExit reset(rows_);
  while (rows_.step()) window.rows.push_back(aligned(rows_));
  previous_ = std::move(current_);
  current_ = std::move(window);
}

std::optional<std::size_t> ResultWindow::find(const std::function<bool(const Row&)>& matches) {
  bind(rows_, -1, 0);
  ResetOnExit reset(rows_);
  std::size_t index = 0;
  for (std::size_t position = 0; index < size() && rows_.step(); ++position) {
    if (positionOf(index) != position) continue;
    if (matches(aligned(rows_))) return index;
    ++index;
  }
  return std::nullopt;
}

}  // namespace engine
