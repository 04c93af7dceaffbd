#pragma once
// What a database file says about its tables: stored names, columns, named indexes, keys, and the
// engine's own metadata (the password hash).
#include <sqlite3.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "db_engine/schema.h"

namespace engine {

// SQLite keeps tables and indexes in one namespace (a table "Country" and an index "Country" may
// both exist), so index X of table T is stored as "T$X" and the primary key as "T$$key".
std::string physicalIndexName(std::string_view table, std::string_view index);
std::string primaryKeyIndexName(std::string_view table);

inline constexpr const char* kMetadataTable = "vorl$engine";
inline constexpr const char* kPasswordHashKey = "password hash";

std::optional<std::string> storedTableName(sqlite3* connection, std::string_view name);
std::vector<FieldDef> tableColumns(sqlite3* connection, const std::string& table);
std::vector<std::string> primaryKeyColumns(sqlite3* connection, const std::string& table);
std::optional<std::vector<std::string>> namedIndexColumns(sqlite3* connection, const std::string& table,
                                                          std::string_view index);
std::optional<std::string> passwordHash(sqlite3* connection);

}  // namespace engine
