#include "db_engine/table.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "db_engine/catalog.h"
#include "db_engine/column_types.h"
#include "db_engine/database.h"
#include "db_engine/filter_expression.h"
#include "db_engine/locate_match.h"
#include "db_engine/row_cache.h"
#include "db_engine/sqlite_statement.h"
#include "db_engine/store_step.h"

namespace engine {
namespace {

// Rows read together with the keys of a range; a longer range is read again as keys only.
constexpr std::size_t kRangeHeadRows = 32;
// Rows read by one statement while a walk goes from row to row.
constexpr std::size_t kBatchRows = 32;

}  // namespace

// The range is a keyset: the rowids of the rows in range, in index order. Rows are read one by
// one through a prepared statement and kept in a small cache.
struct Table::Cursor {
  sqlite3* connection = nullptr;
  std::string table;  // as stored in the file
  std::string label;  // as the program names it, for messages
  std::vector<std::string> tableColumns;
  std::vector<std::string> columns;  // per field
  std::vector<std::string> order;
  std::vector<std::string> masterFields;
  std::vector<std::string> linkColumns;  // leading order columns compared with the master fields
  std::vector<std::int64_t> keys;
  std::optional<std::vector<Value>> rangeValues;  // master values of the loaded range
  unsigned rangeMasterRefreshes = 0;              // the master's refreshes when it was loaded
  Statement range;      // the keys of the whole range
  Statement rangeHead;  // the first rows of the range, with their values
  bool rangeReady = false;
  unsigned rangeFilterSerial = 0;
  Statement read;
  Statement readBatch;  // kBatchRows rows by key
  std::size_t nextRead = 0;  // a miss on this row continues a walk: read a batch
  std::map<std::string, Statement> statements;  // writes and locates, by SQL text
  std::map<std::vector<std::size_t>, Statement> updates;
  RowCache cache;
  Row emptyRow;

  // An update of these columns (by field index); prepared once, as a walk posts the same ones again.
  Statement& update(const std::vector<std::size_t>& changed) {
    auto found = updates.find(changed);
    if (found != updates.end()) return found->second;
    std::string assignments;
    for (const auto index : changed) assignments += (assignments.empty() ? "" : ", ") + quoteIdentifier(columns[index]) + " = ?";
    const auto sql = "UPDATE " + quoteIdentifier(table) + " SET " + assignments + " WHERE rowid = ?";
    return updates.emplace(changed, Statement(connection, sql, label)).first->second;
  }

  Statement& statement(const std::string& sql) {
    auto found = statements.find(sql);
    if (found == statements.end()) found = statements.emplace(sql, Statement(connection, sql, label)).first;
    return found->second;
  }

  // The row last written through this dataset, announced to the other views of the table.
  std::optional<std::int64_t> written;

  void setKeys(std::vector<std::int64_t> range) {
    keys = std::move(range);
    cache.clear();
    nextRead = 0;
  }

  // A scan of the keys in memory: even at 100,000 rows far cheaper than any read of the file.
  std::optional<std::size_t> position(std::int64_t key) const {
    const auto found = std::find(keys.begin(), keys.end(), key);
    if (found == keys.end()) return std::nullopt;
    return static_cast<std::size_t>(found - keys.begin());
  }

  std::size_t clamp(std::size_t row) const { return keys.empty() ? 0 : std::min(row, keys.size() - 1); }
};

class Table::MasterLink : public SourceFollower {
 public:
  explicit MasterLink(Table& table) : table_(table) {}

  void dataEvent(DataEvent event, const Field*) override {
    if (!movesRows(event) || !table_.active()) return;
    // A post of the master that left its link values alone keeps the detail where it stands.
    if (event != DataEvent::ActiveChanged && table_.rangeStillCurrent()) return;
    table_.rangeChanged();
  }

 private:
  Table& table_;
};

namespace {

std::string joinColumns(const std::vector<std::string>& columns, const std::string& separator,
                        const std::string& suffix = "") {
  std::string text;
  for (const auto& column : columns) text += (text.empty() ? "" : separator) + quoteIdentifier(column) + suffix;
  return text;
}

}  // namespace

Table::Table(Session& session, std::string name)
    : Dataset(session, std::move(name)), masterLink_(std::make_unique<MasterLink>(*this)) {}

Table::~Table() { close(); }

void Table::setTableName(std::string tableName) {
  if (active()) throw EngineError(code::DatasetOpen, "Cannot change the table of an open dataset: " + name_);
  tableName_ = std::move(tableName);
}

void Table::setIndexName(std::string indexName) {
  indexName_ = std::move(indexName);
  if (!indexName_.empty()) indexFieldNames_.clear();
  reconfigure();
}

void Table::setIndexFieldNames(std::string fieldNames) {
  indexFieldNames_ = std::move(fieldNames);
  if (!indexFieldNames_.empty()) indexName_.clear();
  reconfigure();
}

void Table::setMasterSource(DataSource* master) {
  masterLink_->follow(master);
  reconfigure();
}

void Table::setMasterFields(std::string fieldNames) {
  masterFields_ = std::move(fieldNames);
  reconfigure();
}

DataSource* Table::masterSource() const { return masterLink_->source(); }

void Table::reconfigure() {
  if (!active()) return;
  configureOrder();
  rangeChanged();
}

void Table::openRows() {
  cursor_ = std::make_unique<Cursor>();
  auto& cursor = *cursor_;
  cursor.connection = connection().handle();
  cursor.label = canonicalTableName(tableName_);
  const auto stored = storedTableName(cursor.connection, cursor.label);
  if (!stored) {
    throw EngineError(code::TableNotFound, "Table " + cursor.label + " not found in database " + databaseName_);
  }
  cursor.table = *stored;
  const auto available = engine::tableColumns(cursor.connection, cursor.table);
  for (const auto& column : available) cursor.tableColumns.push_back(column.name);
  bindFields(available);
  for (const auto& field : fields_) cursor.columns.push_back(field->fieldName());
  cursor.emptyRow.assign(fields_.size(), Value{});
  configureOrder();
  const auto select = "SELECT rowid, " + joinColumns(cursor.columns, ", ") + " FROM " + quoteIdentifier(cursor.table);
  cursor.read = Statement(cursor.connection, select + " WHERE rowid = ?", cursor.label);
  std::string markers;
  for (std::size_t index = 0; index < kBatchRows; ++index) markers += index ? ", ?" : "?";
  cursor.readBatch = Statement(cursor.connection, select + " WHERE rowid IN (" + markers + ")", cursor.label);
  loadKeys();
}

void Table::configureOrder() {
  auto& cursor = *cursor_;
  if (!indexName_.empty()) {
    const auto columns = namedIndexColumns(cursor.connection, cursor.table, indexName_);
    if (!columns) {
      throw EngineError(code::IndexNotFound, "Index " + indexName_ + " not found in table " + cursor.label);
    }
    cursor.order = *columns;
  } else if (!indexFieldNames_.empty()) {
    cursor.order = splitFieldNames(indexFieldNames_);
    for (const auto& column : cursor.order) {
      const bool known = std::any_of(cursor.tableColumns.begin(), cursor.tableColumns.end(),
                                     [&](const std::string& name) { return equalIgnoringCase(name, column); });
      if (!known) throw EngineError(code::FieldNotFound, "Field " + column + " not found in table " + cursor.label);
    }
  } else {
    cursor.order = primaryKeyColumns(cursor.connection, cursor.table);
  }
  cursor.masterFields = masterSource() ? splitFieldNames(masterFields_) : std::vector<std::string>{};
  if (cursor.masterFields.size() > cursor.order.size()) {
    throw EngineError(code::IndexNotFound,
                      "The index of dataset " + name_ + " has fewer fields than its master fields " + masterFields_);
  }
  cursor.linkColumns.assign(cursor.order.begin(), cursor.order.begin() + static_cast<long>(cursor.masterFields.size()));
  cursor.rangeReady = false;
}

// nullopt: the master has no current row, so the range is empty; an empty list: no master link.
unsigned Table::masterRefreshes() const {
  const auto* master = masterSource() ? masterSource()->dataset() : nullptr;
  return master ? master->refreshes() : 0;
}

bool Table::rangeStillCurrent() const {
  return masterValues() == cursor_->rangeValues && masterRefreshes() == cursor_->rangeMasterRefreshes;
}

std::optional<std::vector<Value>> Table::masterValues() const {
  const auto& cursor = *cursor_;
  if (cursor.masterFields.empty()) return std::vector<Value>{};
  const auto* master = masterSource() ? masterSource()->dataset() : nullptr;
  if (!master || !master->active() || master->isEmpty()) return std::nullopt;
  std::vector<Value> values;
  for (const auto& field : cursor.masterFields) values.push_back(master->fieldByName(field).value());
  return values;
}

std::string Table::rangeCondition(const std::string& extra, bool filtered) const {
  std::vector<std::string> conditions;
  for (const auto& column : cursor_->linkColumns) conditions.push_back(quoteIdentifier(column) + " = ?");
  const auto* filter = activeFilter();
  if (filter && filtered) conditions.push_back(filter->sql());
  if (!extra.empty()) conditions.push_back(extra);
  std::string sql;
  for (const auto& condition : conditions) sql += (sql.empty() ? " WHERE " : " AND ") + condition;
  return sql;
}

std::string Table::orderClause() const {
  return " ORDER BY " + joinColumns(cursor_->order, ", ", "") + (cursor_->order.empty() ? "" : ", ") + "rowid";
}

// Binds master values and filter constants from index 1; returns the next free index.
int Table::bindRange(Statement& statement, const std::vector<Value>& masterValues) const {
  int index = 1;
  for (const auto& value : masterValues) statement.bind(index++, value);
  if (const auto* filter = activeFilter()) {
    for (const auto& value : filter->parameters()) statement.bind(index++, value);
  }
  return index;
}

// Most ranges are small (a unit's sub-units, its occurrences): one query reads their rows with the
// keys. Only a range longer than that first read is read again as keys alone, from the index.
void Table::loadKeys() {
  auto& cursor = *cursor_;
  cursor.setKeys({});
  const auto values = masterValues();
  cursor.rangeValues = values;
  cursor.rangeMasterRefreshes = masterRefreshes();
  if (!values) return;
  if (!cursor.rangeReady || cursor.rangeFilterSerial != filterSerial()) {
    const std::string from = " FROM " + quoteIdentifier(cursor.table) + rangeCondition("") + orderClause();
    cursor.range = Statement(cursor.connection, "SELECT rowid" + from, cursor.label);
    cursor.rangeHead = Statement(cursor.connection,
                                 "SELECT rowid, " + joinColumns(cursor.columns, ", ") + from + " LIMIT " +
                                     std::to_string(kRangeHeadRows),
                                 cursor.label);
    cursor.rangeReady = true;
    cursor.rangeFilterSerial = filterSerial();
  }
  std::vector<std::int64_t> keys;
  std::vector<std::pair<std::int64_t, Row>> rows;
  {
    bindRange(cursor.rangeHead, *values);
    ResetOnExit reset(cursor.rangeHead);
    while (cursor.rangeHead.step()) {
      const auto key = std::get<std::int64_t>(cursor.rangeHead.column(0));
      keys.push_back(key);
      Row row(cursor.columns.size());
      for (std::size_t column = 0; column < row.size(); ++column)
        row[column] = cursor.rangeHead.column(static_cast<int>(column + 1));
      rows.emplace_back(key, std::move(row));
    }
  }
  if (keys.size() == kRangeHeadRows) {
    keys.clear();
    bindRange(cursor.range, *values);
    ResetOnExit reset(cursor.range);
    while (cursor.range.step()) keys.push_back(std::get<std::int64_t>(cursor.range.column(0)));
  }
  cursor.setKeys(std::move(keys));
  // The second read may see another connection's writes: each row goes under the key it was read with.
  for (auto& [key, row] : rows) cursor.cache.store(key, std::move(row));
  cursor.nextRead = rows.size();
}

void Table::closeRows() { cursor_.reset(); }

std::size_t Table::reloadRows(std::size_t current) {
  auto& cursor = *cursor_;
  const auto key = current < cursor.keys.size() ? std::optional(cursor.keys[current]) : std::nullopt;
  loadKeys();
  if (key) {
    if (const auto found = cursor.position(*key)) return *found;
  }
  return cursor.clamp(current);
}

std::size_t Table::rowCount() const { return cursor_ ? cursor_->keys.size() : 0; }

// A walk from row to row reads the rows ahead of it kBatchRows at a time; any other miss reads
// its row alone.
const Row& Table::readRow(std::size_t row) const {
  auto& cursor = *cursor_;
  if (row >= cursor.keys.size()) return cursor.emptyRow;
  const auto key = cursor.keys[row];
  if (const auto* cached = cursor.cache.find(key)) return *cached;
  if (row == cursor.nextRead) {
    fetchRows(row);
    cursor.nextRead = row + kBatchRows;
    const auto* fetched = cursor.cache.find(key);
    return fetched ? *fetched : cursor.emptyRow;  // deleted through another connection
  }
  cursor.nextRead = row + 1;
  auto values = fetchRow(key);
  if (!values) return cursor.emptyRow;
  return cursor.cache.store(key, std::move(*values));
}

namespace {

Row rowAfterKey(const Statement& statement, std::size_t columns) {
  Row values(columns);
  for (std::size_t column = 0; column < columns; ++column) values[column] = statement.column(static_cast<int>(column + 1));
  return values;
}

}  // namespace

std::optional<Row> Table::fetchRow(std::int64_t key) const {
  auto& cursor = *cursor_;
  cursor.read.bind(1, key);
  ResetOnExit reset(cursor.read);
  if (!cursor.read.step()) return std::nullopt;
  return rowAfterKey(cursor.read, cursor.columns.size());
}

// The rows from first on that are not cached yet, in one statement; the rest of the markers stay null.
void Table::fetchRows(std::size_t first) const {
  auto& cursor = *cursor_;
  int marker = 1;
  for (auto row = first; row < cursor.keys.size() && marker <= static_cast<int>(kBatchRows); ++row) {
    if (!cursor.cache.find(cursor.keys[row])) cursor.readBatch.bind(marker++, cursor.keys[row]);
  }
  ResetOnExit reset(cursor.readBatch);
  std::vector<std::pair<std::int64_t, Row>> rows;
  while (cursor.readBatch.step()) {
    rows.emplace_back(std::get<std::int64_t>(cursor.readBatch.column(0)), rowAfterKey(cursor.readBatch, cursor.columns.size()));
  }
  for (auto& [key, values] : rows) cursor.cache.store(key, std::move(values));
}

std::optional<std::size_t> Table::findRow(const std::vector<std::size_t>& fieldIndexes,
                                          const std::vector<std::string>& values, LocateOptions options) {
  auto& cursor = *cursor_;
  if (canSeekIgnoringCase(fieldIndexes, values, options)) {
    const auto master = masterValues();
    if (!master) return std::nullopt;
    const auto seek = seekIgnoringCase(*fields_[fieldIndexes.front()], values.front(), options.partialKey, *master);
    if (seek.settled) return seek.row;
  }
  std::string conditions;
  std::vector<Value> parameters;
  for (std::size_t index = 0; index < fieldIndexes.size(); ++index) {
    const auto& field = *fields_[fieldIndexes[index]];
    const auto target = locateTarget(field, values[index]);
    if (!target) return std::nullopt;
    auto condition = locateCondition(field, *target, options);
    conditions += (conditions.empty() ? "" : " AND ") + condition.sql;
    for (auto& parameter : condition.parameters) parameters.push_back(std::move(parameter));
  }
  const auto master = masterValues();
  if (!master) return std::nullopt;
  auto& statement = cursor.statement("SELECT rowid FROM " + quoteIdentifier(cursor.table) + rangeCondition(conditions) +
                                     orderClause() + " LIMIT 1");
  int index = bindRange(statement, *master);
  for (const auto& parameter : parameters) statement.bind(index++, parameter);
  ResetOnExit reset(statement);
  if (!statement.step()) return std::nullopt;
  return cursor.position(std::get<std::int64_t>(statement.column(0)));
}

// A case-insensitive locate of the text field that follows the link fields in the order can seek
// through the index instead of scanning the range.
bool Table::canSeekIgnoringCase(const std::vector<std::size_t>& fieldIndexes, const std::vector<std::string>& values,
                                LocateOptions options) const {
  if (!options.caseInsensitive || fieldIndexes.size() != 1 || values.front().empty()) return false;
  const auto& field = *fields_[fieldIndexes.front()];
  const auto type = field.dataType();
  if (type != FieldType::String && type != FieldType::Memo && type != FieldType::FormattedMemo) return false;
  const auto& order = cursor_->order;
  const auto next = cursor_->linkColumns.size();
  return next < order.size() && equalIgnoringCase(order[next], field.fieldName());
}

// Seeks to each case variant of the text in turn (see nextCaseVariant) through the index alone;
// rows the filter hides are skipped by their absence from the range. Unsettled when that takes
// too many seeks: the caller then scans.
Table::SeekOutcome Table::seekIgnoringCase(const Field& field, const std::string& wanted, bool partial,
                                           const std::vector<Value>& master) {
  constexpr int kMostSeeks = 64;
  auto& cursor = *cursor_;
  const auto column = quoteIdentifier(field.fieldName());
  auto& statement = cursor.statement("SELECT rowid, " + column + " FROM " + quoteIdentifier(cursor.table) +
                                     rangeCondition(column + " >= ? AND " + column + " <= ?", false) + orderClause());
  const auto last = lastCaseVariant(wanted, partial);
  auto bound = firstCaseVariant(wanted);
  for (int seek = 0; seek < kMostSeeks; ++seek) {
    int index = 1;
    for (const auto& value : master) statement.bind(index++, value);
    statement.bind(index, bound);
    statement.bind(index + 1, last);
    ResetOnExit reset(statement);
    std::optional<std::string> next;
    while (!next) {
      if (!statement.step()) return {true, std::nullopt};
      const auto found = statement.column(1);
      const auto* text = std::get_if<std::string>(&found);
      if (!text) return {false, std::nullopt};
      if (!matchesIgnoringCase(*text, wanted, partial)) {
        next = nextCaseVariant(*text, wanted);
        if (!next) return {true, std::nullopt};
      } else if (const auto row = cursor.position(std::get<std::int64_t>(statement.column(0)))) {
        return {true, row};
      }
    }
    bound = std::move(*next);
  }
  return {false, std::nullopt};
}

// The stored row while it belongs to the range as it was loaded (its link values and the filter).
std::optional<Row> Table::readInLoadedRange(std::int64_t key) {
  auto& cursor = *cursor_;
  if (!cursor.rangeValues) return std::nullopt;
  auto& statement = cursor.statement("SELECT " + joinColumns(cursor.columns, ", ") + " FROM " +
                                     quoteIdentifier(cursor.table) + rangeCondition("rowid = ?"));
  statement.bind(bindRange(statement, *cursor.rangeValues), key);
  ResetOnExit reset(statement);
  if (!statement.step()) return std::nullopt;
  Row row(cursor.columns.size());
  for (std::size_t column = 0; column < row.size(); ++column) row[column] = statement.column(static_cast<int>(column));
  return row;
}

// SQLite itself compares the two rows, so that collations and nulls order exactly as in the range.
bool Table::comesBefore(std::int64_t first, std::int64_t second) {
  auto& cursor = *cursor_;
  auto& statement = cursor.statement("SELECT rowid FROM " + quoteIdentifier(cursor.table) + " WHERE rowid IN (?, ?)" +
                                     orderClause() + " LIMIT 1");
  statement.bind(1, first);
  statement.bind(2, second);
  ResetOnExit reset(statement);
  return statement.step() && std::get<std::int64_t>(statement.column(0)) == first;
}

// A binary search of the keys, as they would be without the position skip.
std::size_t Table::insertionPoint(std::int64_t key, std::optional<std::size_t> skip) {
  const auto& keys = cursor_->keys;
  const auto physical = [&](std::size_t index) { return skip && index >= *skip ? index + 1 : index; };
  std::size_t low = 0;
  std::size_t high = keys.size() - (skip ? 1 : 0);
  while (low < high) {
    const auto middle = low + (high - low) / 2;
    if (comesBefore(key, keys[physical(middle)])) high = middle;
    else low = middle + 1;
  }
  return low;
}

// Where a written row moves within the range (from: its position before the write), with its
// stored values; reads only, so that it can fail inside a store step.
Table::Placement Table::placement(std::int64_t key, std::optional<std::size_t> from, bool orderMayChange) {
  Placement place{from, std::nullopt, readInLoadedRange(key)};
  if (!place.row) return place;
  place.to = from && !orderMayChange ? from : insertionPoint(key, from);
  return place;
}

void Table::applyPlacement(std::int64_t key, Placement place) {
  auto& cursor = *cursor_;
  if (place.row) cursor.cache.store(key, std::move(*place.row));
  else cursor.cache.forget(key);
  if (place.from == place.to) return;
  if (place.from) cursor.keys.erase(cursor.keys.begin() + static_cast<long>(*place.from));
  if (place.to) cursor.keys.insert(cursor.keys.begin() + static_cast<long>(*place.to), key);
}

std::size_t Table::storeInsert(const Row& row, std::size_t position) {
  auto& cursor = *cursor_;
  std::string placeholders;
  for (std::size_t index = 0; index < cursor.columns.size(); ++index) placeholders += index ? ", ?" : "?";
  auto& statement = cursor.statement("INSERT INTO " + quoteIdentifier(cursor.table) + " (" +
                                     joinColumns(cursor.columns, ", ") + ") VALUES (" + placeholders + ")");
  StoreStep step(connection());
  for (std::size_t index = 0; index < row.size(); ++index) statement.bind(static_cast<int>(index + 1), row[index]);
  {
    ResetOnExit reset(statement);
    statement.step();
  }
  const auto key = sqlite3_last_insert_rowid(cursor.connection);
  auto place = placement(key, std::nullopt, true);
  step.complete();
  const auto to = place.to;
  applyPlacement(key, std::move(place));
  cursor.written = key;
  return to.value_or(cursor.clamp(position));
}

std::size_t Table::storeUpdate(std::size_t row, const Row& values) {
  auto& cursor = *cursor_;
  const auto key = cursor.keys.at(row);
  std::optional<Row> fetched;
  const Row* stored = cursor.cache.find(key);
  if (!stored) stored = &fetched.emplace(fetchRow(key).value_or(cursor.emptyRow));
  std::vector<std::size_t> changed;
  for (std::size_t index = 0; index < values.size(); ++index) {
    if (values[index] != (*stored)[index]) changed.push_back(index);
  }
  if (changed.empty()) return row;
  auto& statement = cursor.update(changed);
  StoreStep step(connection());
  int parameter = 1;
  for (const auto index : changed) statement.bind(parameter++, values[index]);
  statement.bind(parameter, key);
  {
    ResetOnExit reset(statement);
    statement.step();
  }
  expectOneChangedRow(cursor.connection, cursor.label);
  const bool reorders = std::any_of(changed.begin(), changed.end(), [&](std::size_t index) {
    return std::any_of(cursor.order.begin(), cursor.order.end(),
                       [&](const std::string& column) { return equalIgnoringCase(column, cursor.columns[index]); });
  });
  // Nothing that decides the row's place changed: it stays where it is, with the values written.
  if (!reorders && !activeFilter()) {
    step.complete();
    cursor.cache.store(key, values);
    cursor.written = key;
    return row;
  }
  auto place = placement(key, row, reorders);
  step.complete();
  const auto to = place.to;
  applyPlacement(key, std::move(place));
  cursor.written = key;
  return to.value_or(cursor.clamp(row));
}

void Table::storeDelete(std::size_t row) {
  auto& cursor = *cursor_;
  const auto key = cursor.keys.at(row);
  auto& statement = cursor.statement("DELETE FROM " + quoteIdentifier(cursor.table) + " WHERE rowid = ?");
  statement.bind(1, key);
  {
    ResetOnExit reset(statement);
    statement.step();
  }
  expectOneChangedRow(cursor.connection, cursor.label);
  applyPlacement(key, {row, std::nullopt, std::nullopt});
  cursor.written = key;
}

void Table::announceWrite() {
  if (!cursor_ || !cursor_->written) return;
  const auto key = *std::exchange(cursor_->written, std::nullopt);
  connection().rowWritten(*this, cursor_->table, key);
}

void Table::rowWrittenElsewhere(const std::string& storedTable, std::int64_t key) {
  auto& cursor = *cursor_;
  if (!equalIgnoringCase(storedTable, cursor.table)) return;
  const bool showsRow = current_ < cursor.keys.size();
  const std::int64_t shown = showsRow ? cursor.keys[current_] : 0;
  auto place = placement(key, cursor.position(key), true);
  if (!place.from && !place.to) return;
  applyPlacement(key, std::move(place));
  // An appended row stands past the last one and stays there.
  const auto current = showsRow ? cursor.position(shown).value_or(cursor.clamp(current_)) : std::min(current_, cursor.keys.size());
  rowsChangedUnder(current);
}

void Table::fillLinkFields(Row& row) {
  const auto values = masterValues();
  if (!values) return;
  for (std::size_t index = 0; index < values->size(); ++index) {
    if (const auto* field = findField(cursor_->linkColumns[index])) row[field->index()] = (*values)[index];
  }
}

bool Table::writable() const { return true; }

}  // namespace engine
