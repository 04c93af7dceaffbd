#include "db_engine/query.h"

#include <algorithm>
#include <cctype>

#include "db_engine/catalog.h"
#include "db_engine/column_types.h"
#include "db_engine/database.h"
#include "db_engine/filter_expression.h"
#include "db_engine/format_settings.h"
#include "db_engine/locate_match.h"
#include "db_engine/result_window.h"
#include "db_engine/sqlite_statement.h"
#include "db_engine/store_step.h"
#include "db_engine/value_text.h"

namespace engine {

// The statement gives the result's columns; its rows are read through the window. A live result
// also knows the table and key to write back.
struct Query::Result {
  Statement statement;
  ResultWindow window;
  std::vector<std::size_t> fieldColumns;  // result column of each field
  std::string table;                      // live results only: the table rows are written to
  std::vector<std::string> originColumns;  // per field, the table column it came from
  std::vector<std::size_t> keyFields;      // fields holding the table's primary key
};

class Query::SourceLink : public SourceFollower {
 public:
  explicit SourceLink(Query& query) : query_(query) {}

  void dataEvent(DataEvent event, const Field*) override {
    if (movesRows(event) && query_.active()) query_.rangeChanged();
  }

 private:
  Query& query_;
};

namespace {

bool isNameCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The :Name markers of SQL text, in order of first appearance, outside quotes and comments.
std::vector<std::string> parameterNames(const std::string& sql) {
  std::vector<std::string> names;
  std::size_t position = 0;
  const auto skipPast = [&](std::string_view end) {
    const auto found = sql.find(end, position);
    position = found == std::string::npos ? sql.size() : found + end.size();
  };
  while (position < sql.size()) {
    const char c = sql[position];
    if (c == '\'' || c == '"' || c == '`' || c == '[') {
      ++position;
      skipPast(c == '[' ? "]" : std::string(1, c));
    } else if (sql.compare(position, 2, "--") == 0) {
      skipPast("\n");
    } else if (sql.compare(position, 2, "/*") == 0) {
      skipPast("*/");
    } else if (c == ':' && position + 1 < sql.size() && isNameCharacter(sql[position + 1])) {
      const auto start = ++position;
      while (position < sql.size() && isNameCharacter(sql[position])) ++position;
      auto name = sql.substr(start, position - start);
      const bool known = std::any_of(names.begin(), names.end(), [&](const auto& other) { return equalIgnoringCase(other, name); });
      if (!known) names.push_back(std::move(name));
    } else {
      ++position;
    }
  }
  return names;
}

// A number for an integer parameter: a whole number as an integer, a fraction as it is.
Value integerParameter(double real, const std::string& name) {
  const auto integer = roundedInteger(real);
  if (!integer) throw EngineError(code::Conversion, "'" + shortestNumber(real) + "' is not a valid integer value for parameter " + name);
  if (static_cast<double>(*integer) == real) return *integer;
  return real;
}

// A value in the parameter's declared type where the text allows it.
Value typedValue(const Value& value, FieldType type, const std::string& name) {
  const auto* text = std::get_if<std::string>(&value);
  switch (type) {
    case FieldType::SmallInt:
    case FieldType::Integer:
      if (text) {
        if (const auto integer = parseInteger(*text)) return *integer;
      }
      if (const auto* real = std::get_if<double>(&value)) return integerParameter(*real, name);
      return value;
    case FieldType::Float:
      if (text) {
        if (const auto real = parseFloat(*text)) return *real;
      }
      if (const auto* integer = std::get_if<std::int64_t>(&value)) return static_cast<double>(*integer);
      return value;
    case FieldType::Boolean:
      if (text) {
        if (const auto flag = parseBoolean(*text)) return std::int64_t{*flag};
      }
      return value;
    case FieldType::Date:
      if (text) {
        if (auto date = parseDate(*text, formatSettings().shortDateFormat)) return *date;
      }
      return value;
    default:
      if (const auto* integer = std::get_if<std::int64_t>(&value)) return std::to_string(*integer);
      if (const auto* real = std::get_if<double>(&value)) return shortestNumber(*real);
      return value;
  }
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t index = 0; index < lines.size(); ++index) text += (index ? "\n" : "") + lines[index];
  return text;
}

// Columns of a result as fields: declared types where the column has one, else the type of the
// first value; a repeated name gets a suffix ("Code_1").
std::vector<FieldDef> resultColumns(sqlite3_stmt* statement, const std::vector<Row>& rows) {
  std::vector<FieldDef> columns;
  const int count = sqlite3_column_count(statement);
  for (int index = 0; index < count; ++index) {
    std::string name = sqlite3_column_name(statement, index);
    const auto repeats = std::count_if(columns.begin(), columns.end(),
                                       [&](const FieldDef& column) { return equalIgnoringCase(column.name, name); });
    if (repeats > 0) name.append("_").append(std::to_string(repeats));
    const char* declared = sqlite3_column_decltype(statement, index);
    auto column = fieldFromDeclaredType(name, declared ? declared : "");
    if (!declared) {
      const auto first = std::find_if(rows.begin(), rows.end(), [&](const Row& row) { return !isNull(row[static_cast<std::size_t>(index)]); });
      column.type = first == rows.end() ? FieldType::String : typeOfValue((*first)[static_cast<std::size_t>(index)]);
    }
    columns.push_back(std::move(column));
  }
  return columns;
}

}  // namespace

Query::Query(Session& session, std::string name)
    : Dataset(session, std::move(name)), result_(std::make_unique<Result>()), sourceLink_(std::make_unique<SourceLink>(*this)) {}

Query::~Query() { close(); }

void Query::setSql(std::vector<std::string> lines) {
  close();
  unprepare();
  sql_ = std::move(lines);
  std::vector<Param> params;
  for (auto& name : parameterNames(joinLines(sql_))) {
    const auto known = std::find_if(params_.begin(), params_.end(), [&](const Param& param) { return equalIgnoringCase(param.name, name); });
    if (known != params_.end()) {
      params.push_back(*known);
    } else {
      Param param;
      param.name = std::move(name);
      params.push_back(std::move(param));
    }
  }
  params_ = std::move(params);
}

Param& Query::paramByName(std::string_view name) {
  const auto found = std::find_if(params_.begin(), params_.end(), [&](const Param& param) { return equalIgnoringCase(param.name, name); });
  if (found == params_.end()) {
    throw EngineError(code::General, "Parameter " + std::string(name) + " not found in query " + name_);
  }
  return *found;
}

void Query::declareParam(Param param) {
  const auto found = std::find_if(params_.begin(), params_.end(), [&](const Param& known) { return equalIgnoringCase(known.name, param.name); });
  if (found == params_.end()) {
    params_.push_back(std::move(param));
  } else {
    found->type = param.type;
    found->value = std::move(param.value);
  }
}

void Query::setDataSource(DataSource* source) { sourceLink_->follow(source); }

DataSource* Query::dataSource() const { return sourceLink_->source(); }

void Query::prepare() {
  if (active()) throw EngineError(code::DatasetOpen, "Cannot prepare an open query: " + name_);
  auto& database = this->database();
  database.open();
  result_->statement = Statement(database.handle(), joinLines(sql_), name_);
  result_->window.prepare(database.handle(), joinLines(sql_), name_);
}

void Query::unprepare() {
  if (active()) throw EngineError(code::DatasetOpen, "Cannot unprepare an open query: " + name_);
  result_->statement = Statement();
}

bool Query::prepared() const { return static_cast<bool>(result_->statement); }

void Query::setRequestLive(bool live) { requestLive_ = live; }

Value Query::parameterValue(const Param& param) const {
  const auto* source = dataSource();
  const auto* dataset = source ? source->dataset() : nullptr;
  if (dataset && dataset != this && dataset->active()) {
    if (const auto* field = dataset->findField(param.name)) return typedValue(field->value(), param.type, param.name);
  }
  return typedValue(param.value, param.type, param.name);
}

Bindings Query::bindings() const {
  Bindings values;
  for (const auto& param : params_) values.emplace_back(param.name, parameterValue(param));
  return values;
}

void Query::execute(bool force) {
  result_->window.run(bindings(), result_->fieldColumns, activeFilter(), filterSerial(), force);
}

void Query::openRows() {
  // A statement prepared on an earlier connection of the database is prepared again.
  if (!prepared() || sqlite3_db_handle(result_->statement.get()) != connection().handle()) prepare();
  constexpr std::size_t kTypeSample = 16;
  const auto sample = result_->window.sample(bindings(), kTypeSample);
  result_->fieldColumns = bindFields(resultColumns(result_->statement.get(), sample));
  findWriteBack();
  execute(true);
}

// A result can be written back when all its fields come from one table whose key is among them.
void Query::findWriteBack() {
  auto& result = *result_;
  result.table.clear();
  result.originColumns.clear();
  result.keyFields.clear();
  if (!requestLive_) return;
  auto* statement = result.statement.get();
  std::string table;
  for (const auto column : result.fieldColumns) {
    const char* origin = sqlite3_column_table_name(statement, static_cast<int>(column));
    const char* originColumn = sqlite3_column_origin_name(statement, static_cast<int>(column));
    if (!origin || !originColumn || (!table.empty() && table != origin)) return;
    table = origin;
    result.originColumns.emplace_back(originColumn);
  }
  const auto key = primaryKeyColumns(connection().handle(), table);
  if (key.empty()) return;
  for (const auto& column : key) {
    const auto found = std::find_if(result.originColumns.begin(), result.originColumns.end(),
                                    [&](const std::string& origin) { return equalIgnoringCase(origin, column); });
    if (found == result.originColumns.end()) return;
    result.keyFields.push_back(static_cast<std::size_t>(found - result.originColumns.begin()));
  }
  result.table = table;
}

void Query::closeRows() {
  result_->window.clear();
  result_->table.clear();
}

std::size_t Query::reloadRows(std::size_t current) {
  const auto key = current < rowCount() && writable() ? std::optional(keyOf(readRow(current))) : std::nullopt;
  execute(false);
  return positionOf(key, current);
}

std::vector<Value> Query::keyOf(const Row& row) const {
  std::vector<Value> key;
  for (const auto field : result_->keyFields) key.push_back(row[field]);
  return key;
}

std::size_t Query::positionOf(const std::optional<std::vector<Value>>& key, std::size_t fallback) const {
  const auto count = rowCount();
  if (key) {
    if (const auto found = result_->window.find([&](const Row& row) { return keyOf(row) == *key; })) return *found;
  }
  return count ? std::min(fallback, count - 1) : 0;
}

std::size_t Query::rowCount() const { return result_->window.size(); }

const Row& Query::readRow(std::size_t row) const {
  if (row >= rowCount()) {
    throw EngineError(code::General, "Row " + std::to_string(row) + " is out of the range of query " + name_);
  }
  return result_->window.row(row);
}

std::optional<std::size_t> Query::findRow(const std::vector<std::size_t>& fieldIndexes,
                                          const std::vector<std::string>& values, LocateOptions options) {
  std::vector<Value> targets;
  for (std::size_t index = 0; index < fieldIndexes.size(); ++index) {
    auto target = locateTarget(*fields_[fieldIndexes[index]], values[index]);
    if (!target) return std::nullopt;
    targets.push_back(std::move(*target));
  }
  return result_->window.find([&](const Row& values) {
    for (std::size_t index = 0; index < fieldIndexes.size(); ++index) {
      const auto field = fieldIndexes[index];
      if (!locateMatches(*fields_[field], values[field], targets[index], options)) return false;
    }
    return true;
  });
}

// The write and the new result, as one step that leaves the database as it was when it fails.
void Query::runWrite(const std::string& sql, const std::vector<Value>& values, bool oneRow) {
  const auto context = canonicalTableName(result_->table);
  try {
    StoreStep step(connection());
    {
      Statement statement(connection().handle(), sql, context);
      for (std::size_t index = 0; index < values.size(); ++index) statement.bind(static_cast<int>(index + 1), values[index]);
      ResetOnExit reset(statement);
      statement.step();
    }
    if (oneRow) expectOneChangedRow(connection().handle(), context);
    execute(true);
    step.complete();
  } catch (...) {
    result_->window.invalidate();  // it may hold rows of the write that was undone
    throw;
  }
}

std::string Query::keyCondition() const {
  std::string condition;
  for (const auto field : result_->keyFields) {
    condition += (condition.empty() ? "" : " AND ") + quoteIdentifier(result_->originColumns[field]) + " = ?";
  }
  return condition;
}

std::size_t Query::storeInsert(const Row& row, std::size_t position) {
  std::string columns;
  std::string placeholders;
  for (const auto& column : result_->originColumns) {
    columns += (columns.empty() ? "" : ", ") + quoteIdentifier(column);
    placeholders += placeholders.empty() ? "?" : ", ?";
  }
  runWrite("INSERT INTO " + quoteIdentifier(result_->table) + " (" + columns + ") VALUES (" + placeholders + ")", row,
           false);
  return positionOf(keyOf(row), position);
}

std::size_t Query::storeUpdate(std::size_t row, const Row& values) {
  const auto& stored = readRow(row);
  std::string assignments;
  std::vector<Value> parameters;
  for (std::size_t field = 0; field < values.size(); ++field) {
    if (values[field] == stored[field]) continue;
    assignments += (assignments.empty() ? "" : ", ") + quoteIdentifier(result_->originColumns[field]) + " = ?";
    parameters.push_back(values[field]);
  }
  if (assignments.empty()) return row;
  for (auto& value : keyOf(stored)) parameters.push_back(std::move(value));
  runWrite("UPDATE " + quoteIdentifier(result_->table) + " SET " + assignments + " WHERE " + keyCondition(), parameters,
           true);
  return positionOf(keyOf(values), row);
}

void Query::storeDelete(std::size_t row) {
  runWrite("DELETE FROM " + quoteIdentifier(result_->table) + " WHERE " + keyCondition(), keyOf(readRow(row)), true);
}

bool Query::writable() const { return !result_->table.empty(); }

}  // namespace engine
