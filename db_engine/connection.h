#pragma once
// Opening a database file: checks that it is SQLite and sets up WAL and a busy timeout.
#include <sqlite3.h>

#include <string>

namespace engine {

// create: make the file when missing. Raises NotADatabase for other files, Storage when the file
// cannot be opened; context names the alias or database in messages.
sqlite3* openConnection(const std::string& path, bool create, const std::string& context);
void closeConnection(sqlite3* connection);

}  // namespace engine
