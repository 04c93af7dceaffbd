#pragma once
// The engine session: table passwords, the alias configuration and the database objects known by
// their database names. Datasets resolve their database name through it.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace engine {

class Database;

// Asked when no password of the session fits a protected database. Receives the alias (for the
// dialog) and the session's passwords; returns the new list of passwords (OK) or nullopt (Cancel,
// which fails the open with PasswordRequired). Asked again while the answer does not fit.
using PasswordPrompt =
    std::function<std::optional<std::vector<std::string>>(const std::string& alias, const std::vector<std::string>& passwords)>;

class Session {
 public:
  explicit Session(std::string name = "Default");
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // The application's session "Default".
  static Session& defaultSession();

  const std::string& name() const { return name_; }

  void addPassword(const std::string& password);
  void removePassword(const std::string& password);
  void removeAllPasswords();
  const std::vector<std::string>& passwords() const { return passwords_; }
  void setPasswordPrompt(PasswordPrompt prompt);
  // Checks password against the hash kept in an open database (through the prompt when needed).
  void checkAccess(Database& database);

  // Aliases map to directories.
  void setAlias(const std::string& alias, const std::string& directory);
  std::optional<std::string> aliasDirectory(const std::string& alias) const;  // ignores case
  // Reads the engine configuration file: section "Aliases", one alias=directory line each.
  void loadConfiguration(const std::string& file);
  static void writeConfiguration(const std::string& file, const std::map<std::string, std::string>& aliases);

  // A Database registered under databaseName, or the session's own object for that alias.
  // Raises UnknownDatabase when neither exists.
  Database& database(const std::string& databaseName);
  void registerDatabase(Database& database);
  void unregisterDatabase(Database& database);

 private:
  bool passwordFits(const std::string& hash);

  std::string name_;
  std::vector<std::string> passwords_;
  PasswordPrompt prompt_;
  std::map<std::string, std::string> aliases_;  // lower-cased alias -> directory
  std::vector<Database*> registered_;
  std::map<std::string, std::unique_ptr<Database>> implicit_;
  // Passwords already verified against a stored hash, so other connections skip the slow check.
  std::map<std::string, std::set<std::string>> verified_;
};

}  // namespace engine
