#include "db_engine/sqlite_statement.h"

#include <utility>

namespace engine {

Statement::Statement(sqlite3* connection, std::string_view sql, std::string context)
    : context_(std::move(context)) {
  if (sqlite3_prepare_v2(connection, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr) !=
      SQLITE_OK) {
    throw sqliteError(connection, context_);
  }
}

Statement::~Statement() { sqlite3_finalize(statement_); }

Statement::Statement(Statement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)), context_(std::move(other.context_)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(statement_);
    statement_ = std::exchange(other.statement_, nullptr);
    context_ = std::move(other.context_);
  }
  return *this;
}

void Statement::bind(int index, const Value& value) {
  if (const auto* integer = std::get_if<std::int64_t>(&value)) {
    sqlite3_bind_int64(statement_, index, *integer);
  } else if (const auto* real = std::get_if<double>(&value)) {
    sqlite3_bind_double(statement_, index, *real);
  } else if (const auto* text = std::get_if<std::string>(&value)) {
    sqlite3_bind_text(statement_, index, text->data(), static_cast<int>(text->size()), SQLITE_TRANSIENT);
  } else {
    sqlite3_bind_null(statement_, index);
  }
}

bool Statement::step() {
  const int result = sqlite3_step(statement_);
  if (result == SQLITE_ROW) return true;
  if (result == SQLITE_DONE) return false;
  auto error = sqliteError(sqlite3_db_handle(statement_), context_);
  sqlite3_reset(statement_);
  throw error;
}

Value Statement::column(int index) const {
  switch (sqlite3_column_type(statement_, index)) {
    case SQLITE_INTEGER:
      return static_cast<std::int64_t>(sqlite3_column_int64(statement_, index));
    case SQLITE_FLOAT:
      return sqlite3_column_double(statement_, index);
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
      const auto* data = static_cast<const char*>(sqlite3_column_blob(statement_, index));
      return std::string(data ? data : "", static_cast<std::size_t>(sqlite3_column_bytes(statement_, index)));
    }
    default:
      return std::monostate{};
  }
}

int Statement::columnCount() const { return sqlite3_column_count(statement_); }

void Statement::reset() {
  if (!statement_) return;
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

void executeSql(sqlite3* connection, const std::string& sql, const std::string& context) {
  if (sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    throw sqliteError(connection, context);
  }
}

std::string quoteIdentifier(std::string_view name) {
  std::string quoted = "\"";
  for (const char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string quoteLiteral(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  return quoted + "'";
}

}  // namespace engine
