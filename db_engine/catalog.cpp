#include "db_engine/catalog.h"

#include "db_engine/column_types.h"
#include "db_engine/sqlite_statement.h"

namespace engine {
namespace {

std::vector<std::string> indexColumns(sqlite3* connection, const std::string& physicalIndex) {
  Statement statement(connection, "SELECT name FROM pragma_index_info(?) ORDER BY seqno", physicalIndex);
  statement.bind(1, physicalIndex);
  ResetOnExit reset(statement);
  std::vector<std::string> columns;
  while (statement.step()) columns.push_back(std::get<std::string>(statement.column(0)));
  return columns;
}

}  // namespace

std::string physicalIndexName(std::string_view table, std::string_view index) {
  return std::string(table) + "$" + std::string(index);
}

std::string primaryKeyIndexName(std::string_view table) { return std::string(table) + "$$key"; }

std::optional<std::string> storedTableName(sqlite3* connection, std::string_view name) {
  Statement statement(connection, "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE",
                      std::string(name));
  statement.bind(1, std::string(name));
  ResetOnExit reset(statement);
  if (!statement.step()) return std::nullopt;
  return std::get<std::string>(statement.column(0));
}

std::vector<FieldDef> tableColumns(sqlite3* connection, const std::string& table) {
  Statement statement(connection, "SELECT name, type FROM pragma_table_info(?) ORDER BY cid", table);
  statement.bind(1, table);
  ResetOnExit reset(statement);
  std::vector<FieldDef> columns;
  while (statement.step()) {
    const auto declared = statement.column(1);
    columns.push_back(fieldFromDeclaredType(std::get<std::string>(statement.column(0)),
                                            isNull(declared) ? "" : std::get<std::string>(declared)));
  }
  return columns;
}

std::vector<std::string> primaryKeyColumns(sqlite3* connection, const std::string& table) {
  return indexColumns(connection, primaryKeyIndexName(table));
}

std::optional<std::vector<std::string>> namedIndexColumns(sqlite3* connection, const std::string& table,
                                                          std::string_view index) {
  const auto wanted = physicalIndexName(table, index);
  Statement statement(connection, "SELECT name FROM pragma_index_list(?)", table);
  statement.bind(1, table);
  std::optional<std::string> physical;
  {
    ResetOnExit reset(statement);
    while (statement.step()) {
      auto name = std::get<std::string>(statement.column(0));
      if (equalIgnoringCase(name, wanted)) physical = std::move(name);
    }
  }
  if (!physical) return std::nullopt;
  return indexColumns(connection, *physical);
}

std::optional<std::string> passwordHash(sqlite3* connection) {
  if (!storedTableName(connection, kMetadataTable)) return std::nullopt;
  Statement statement(connection,
                      "SELECT value FROM " + quoteIdentifier(kMetadataTable) + " WHERE name = ?", kMetadataTable);
  statement.bind(1, std::string(kPasswordHashKey));
  ResetOnExit reset(statement);
  if (!statement.step()) return std::nullopt;
  const auto value = statement.column(0);
  if (!std::holds_alternative<std::string>(value)) return std::nullopt;
  return std::get<std::string>(value);
}

}  // namespace engine
