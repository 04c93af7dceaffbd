#include "db_engine/database.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "db_engine/column_types.h"
#include "db_engine/connection.h"
#include "db_engine/dataset.h"
#include "db_engine/errors.h"
#include "db_engine/session.h"
#include "db_engine/sqlite_statement.h"
#include "db_engine/store_step.h"

namespace engine {
namespace {

constexpr std::string_view kPathParameter = "PATH=";

}  // namespace

Database::Database(Session& session, std::string objectName) : session_(session), objectName_(std::move(objectName)) {
  session_.registerDatabase(*this);
}

Database::~Database() {
  close();
  session_.unregisterDatabase(*this);
}

void Database::setAliasName(std::string alias) { aliasName_ = std::move(alias); }

void Database::setDatabaseName(std::string databaseName) { databaseName_ = std::move(databaseName); }

const std::string& Database::databaseName() const { return databaseName_.empty() ? aliasName_ : databaseName_; }

void Database::setParams(std::vector<std::string> params) { params_ = std::move(params); }

std::string Database::label() const {
  if (!aliasName_.empty()) return aliasName_;
  return databaseName_.empty() ? objectName_ : databaseName_;
}

std::string Database::directory() const {
  for (const auto& param : params_) {
    if (param.size() > kPathParameter.size() && equalIgnoringCase(param.substr(0, kPathParameter.size()), kPathParameter)) {
      return param.substr(kPathParameter.size());
    }
  }
  if (const auto directory = session_.aliasDirectory(aliasName_)) return *directory;
  throw EngineError(code::UnknownDatabase, "Unknown database or alias: " + label());
}

std::string Database::filePath() const { return (std::filesystem::path(directory()) / kDatabaseFileName).string(); }

void Database::open() {
  if (handle_) return;
  const auto folder = directory();
  if (!std::filesystem::is_directory(folder)) {
    throw EngineError(code::DirectoryMissing, "Directory of database " + label() + " does not exist: " + folder);
  }
  const auto path = filePath();
  if (!std::filesystem::exists(path)) {
    throw EngineError(code::NotADatabase, "Database " + label() + " has no tables in " + folder);
  }
  handle_ = openConnection(path, false, label());
  try {
    session_.checkAccess(*this);
  } catch (...) {
    closeConnection(std::exchange(handle_, nullptr));
    throw;
  }
}

void Database::close() {
  while (!openDatasets_.empty()) openDatasets_.back()->close();
  storeStatements_.reset();
  if (handle_) closeConnection(std::exchange(handle_, nullptr));
}

StoreStatements& Database::storeStatements() {
  open();
  if (!storeStatements_) storeStatements_ = std::make_unique<StoreStatements>(handle_);
  return *storeStatements_;
}

void Database::startTransaction() { execute("BEGIN IMMEDIATE"); }

void Database::commit() { execute("COMMIT"); }

void Database::rollback() {
  // A pending edit belongs to the work being undone: cancelled, never posted by the refresh below.
  const auto datasets = openDatasets_;
  for (auto* dataset : datasets) dataset->cancel();
  execute("ROLLBACK");
  // Rows added inside the transaction are gone: every open view reads its range again.
  for (auto* dataset : datasets) dataset->refresh();
}

void Database::rowWritten(const Dataset& writer, const std::string& storedTable, std::int64_t key) {
  const auto datasets = openDatasets_;
  for (auto* dataset : datasets) {
    if (dataset != &writer && std::find(openDatasets_.begin(), openDatasets_.end(), dataset) != openDatasets_.end()) {
      dataset->rowWrittenElsewhere(storedTable, key);
    }
  }
}

bool Database::inTransaction() const { return handle_ && !sqlite3_get_autocommit(handle_); }

void Database::execute(const std::string& sql) {
  open();
  executeSql(handle_, sql, label());
}

}  // namespace engine
