#include "db_engine/connection.h"

#include "db_engine/errors.h"
#include "db_engine/locate_match.h"
#include "db_engine/sqlite_statement.h"

namespace engine {
namespace {

constexpr int kBusyTimeoutMilliseconds = 5000;

}  // namespace

sqlite3* openConnection(const std::string& path, bool create, const std::string& context) {
  sqlite3* connection = nullptr;
  // Every connection lives on the user-interface thread, so SQLite's own locking is pure overhead.
  const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (create ? SQLITE_OPEN_CREATE : 0);
  if (sqlite3_open_v2(path.c_str(), &connection, flags, nullptr) != SQLITE_OK) {
    const std::string message = connection ? sqlite3_errmsg(connection) : "out of memory";
    sqlite3_close_v2(connection);
    throw EngineError(code::Storage, "Cannot open database " + context + ": " + path + " (" + message + ")");
  }
  sqlite3_extended_result_codes(connection, 1);
  sqlite3_busy_timeout(connection, kBusyTimeoutMilliseconds);
  addFoldCaseFunction(connection);
  try {
    // Reading the schema is what tells a database from any other file.
    executeSql(connection, "SELECT count(*) FROM sqlite_master", context);
    executeSql(connection, "PRAGMA journal_mode=WAL", context);
    // Pages are read where the file is mapped rather than copied in through a small page cache:
    // walks over a large result table jump between pages all the time. Mapped pages stay the
    // system's, to be dropped under memory pressure.
    executeSql(connection, "PRAGMA mmap_size=1073741824", context);
  } catch (const EngineError& error) {
    sqlite3_close_v2(connection);
    if (error.code() == code::NotADatabase) {
      throw EngineError(code::NotADatabase, "The file of database " + context + " is not a database: " + path);
    }
    throw;
  }
  return connection;
}

void closeConnection(sqlite3* connection) { sqlite3_close_v2(connection); }

}  // namespace engine
