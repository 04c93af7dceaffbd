#include "db_engine/session.h"

#include <algorithm>

#include "db_engine/catalog.h"
#include "db_engine/column_types.h"
#include "db_engine/database.h"
#include "db_engine/errors.h"
#include "db_engine/password_hash.h"
#include "platform/profile_file.h"

namespace engine {
namespace {

constexpr const char* kAliasSection = "Aliases";

}  // namespace

Session::Session(std::string name) : name_(std::move(name)) {}

Session::~Session() = default;

Session& Session::defaultSession() {
  static Session session("Default");
  return session;
}

void Session::addPassword(const std::string& password) {
  if (std::find(passwords_.begin(), passwords_.end(), password) == passwords_.end()) passwords_.push_back(password);
}

void Session::removePassword(const std::string& password) { std::erase(passwords_, password); }

void Session::removeAllPasswords() { passwords_.clear(); }

void Session::setPasswordPrompt(PasswordPrompt prompt) { prompt_ = std::move(prompt); }

bool Session::passwordFits(const std::string& hash) {
  auto& verified = verified_[hash];
  for (const auto& password : passwords_) {
    if (verified.contains(password)) return true;
    if (verifyPassword(hash, password)) {
      verified.insert(password);
      return true;
    }
  }
  return false;
}

void Session::checkAccess(Database& database) {
  const auto hash = passwordHash(database.handle());
  if (!hash) return;
  const auto alias = database.label();
  while (!passwordFits(*hash)) {
    auto answer = prompt_ ? prompt_(alias, passwords_) : std::nullopt;
    if (!answer) throw EngineError(code::PasswordRequired, "Password required to open database " + alias);
    passwords_ = std::move(*answer);
  }
}

void Session::setAlias(const std::string& alias, const std::string& directory) { aliases_[lowerCase(alias)] = directory; }

std::optional<std::string> Session::aliasDirectory(const std::string& alias) const {
  const auto found = aliases_.find(lowerCase(alias));
  if (found == aliases_.end()) return std::nullopt;
  return found->second;
}

void Session::loadConfiguration(const std::string& file) {
  for (const auto& [alias, directory] : platform::readProfileSection(file, kAliasSection)) setAlias(alias, directory);
}

void Session::writeConfiguration(const std::string& file, const std::map<std::string, std::string>& aliases) {
  for (const auto& [alias, directory] : aliases) {
    if (!platform::writeProfileString(file, kAliasSection, alias, directory)) {
      throw EngineError(code::Storage, "Cannot write the engine configuration file " + file);
    }
  }
}

Database& Session::database(const std::string& databaseName) {
  for (auto* database : registered_) {
    if (equalIgnoringCase(database->databaseName(), databaseName)) return *database;
  }
  if (!aliasDirectory(databaseName)) throw EngineError(code::UnknownDatabase, "Unknown database or alias: " + databaseName);
  auto& owned = implicit_[lowerCase(databaseName)];
  owned = std::make_unique<Database>(*this, databaseName);
  owned->setAliasName(databaseName);
  return *owned;
}

void Session::registerDatabase(Database& database) {
  if (std::find(registered_.begin(), registered_.end(), &database) == registered_.end()) registered_.push_back(&database);
}

void Session::unregisterDatabase(Database& database) { std::erase(registered_, &database); }

}  // namespace engine
