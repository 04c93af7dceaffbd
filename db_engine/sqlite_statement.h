#pragma once
// Thin RAII wrappers over the SQLite C API used inside the engine.
#include <sqlite3.h>

#include <string>
#include <string_view>

#include "db_engine/errors.h"
#include "db_engine/value.h"

namespace engine {

// Turns the connection's last failure into an EngineError; context names the table, dataset or
// alias at fault. Integrity refusals map to their codes (integrity_errors.cpp).
EngineError sqliteError(sqlite3* connection, const std::string& context);

class Statement {
 public:
  Statement() = default;
  Statement(sqlite3* connection, std::string_view sql, std::string context);
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement& operator=(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  explicit operator bool() const { return statement_ != nullptr; }
  sqlite3_stmt* get() const { return statement_; }

  void bind(int index, const Value& value);  // 1-based
  // Advances to the next row: true while there is one. Raises EngineError on failure (after reset).
  bool step();
  Value column(int index) const;  // 0-based
  int columnCount() const;
  // Ends the statement's read so that no transaction stays open; clears the bindings.
  void reset();

 private:
  sqlite3_stmt* statement_ = nullptr;
  std::string context_;
};

// Resets a statement when the scope ends, whatever happens inside.
class ResetOnExit {
 public:
  explicit ResetOnExit(Statement& statement) : statement_(statement) {}
  ~ResetOnExit() { statement_.reset(); }
  ResetOnExit(const ResetOnExit&) = delete;
  ResetOnExit& operator=(const ResetOnExit&) = delete;

 private:
  Statement& statement_;
};

// Runs statements without results; raises EngineError naming context.
void executeSql(sqlite3* connection, const std::string& sql, const std::string& context);

std::string quoteIdentifier(std::string_view name);
std::string quoteLiteral(std::string_view text);

}  // namespace engine
