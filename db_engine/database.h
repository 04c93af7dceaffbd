#pragma once
// A database object: an alias (a directory of tables) opened as one SQLite file, under a database
// name that datasets use. Connects on the first open of a dataset that names it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;

namespace engine {

class Dataset;
class Session;
struct StoreStatements;
struct DatabaseSchema;

// The file inside an alias' directory that holds all of its tables.
inline constexpr const char* kDatabaseFileName = "tables.sqlite";

class Database {
 public:
  // Registers itself with the session under its database name (and withdraws when destroyed).
  Database(Session& session, std::string objectName);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const std::string& objectName() const { return objectName_; }  // "DB1"
  Session& session() const { return session_; }

  void setAliasName(std::string alias);
  const std::string& aliasName() const { return aliasName_; }
  // The name datasets use; empty means the alias name.
  void setDatabaseName(std::string databaseName);
  const std::string& databaseName() const;
  // "PATH=dir" overrides the alias' directory; other lines ("ENABLE BCD=FALSE") are kept.
  void setParams(std::vector<std::string> params);
  const std::vector<std::string>& params() const { return params_; }
  void setLoginPrompt(bool prompt) { loginPrompt_ = prompt; }
  bool loginPrompt() const { return loginPrompt_; }

  // Opens the file and checks the table password through the session. Errors name the alias.
  void open();
  void close();
  bool connected() const { return handle_ != nullptr; }
  std::string directory() const;  // resolved from PATH= or the session's alias configuration
  std::string filePath() const;

  // Transactions group posts; each row posted before a failure stays posted once committed.
  void startTransaction();
  void commit();
  void rollback();
  bool inTransaction() const;
  // A dataset stored or deleted this row: the other open views of the same table follow.
  void rowWritten(const Dataset& writer, const std::string& storedTable, std::int64_t key);

  // Runs SQL without results (tools); raises EngineError.
  void execute(const std::string& sql);
  sqlite3* handle() const { return handle_; }
  StoreStatements& storeStatements();  // of the open connection

 private:
  friend class Dataset;  // open datasets register so that close() can close them first
  friend class Session;
  std::string label() const;  // the alias (or database name) that messages name

  Session& session_;
  std::string objectName_;
  std::string aliasName_;
  std::string databaseName_;
  std::vector<std::string> params_;
  bool loginPrompt_ = true;
  sqlite3* handle_ = nullptr;
  std::vector<Dataset*> openDatasets_;
  std::unique_ptr<StoreStatements> storeStatements_;
};

// Creates (or completes) the database file in directory from schema: tables, indexes, integrity
// rules and, when password is not empty, the salted hash that guards access. Raises EngineError
// for a missing directory or a file that is not a database.
void createDatabase(const std::string& directory, const DatabaseSchema& schema, const std::string& password);

}  // namespace engine
