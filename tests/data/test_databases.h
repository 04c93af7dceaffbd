#pragma once
// Real databases for the data module tests: a fresh directory per test under the system's
// temporary directory, databases created there from the program's schemas and known to a session
// of the test's own as aliases.
#include <filesystem>
#include <string>

#include "db_engine/schema.h"
#include "db_engine/session.h"

namespace data_test {

class TestDatabases {
 public:
  TestDatabases();
  ~TestDatabases();
  TestDatabases(const TestDatabases&) = delete;
  TestDatabases& operator=(const TestDatabases&) = delete;

  // Creates the database of alias in a directory of its own and configures the alias.
  std::string create(const std::string& alias, const engine::DatabaseSchema& schema,
                     const std::string& password = "");
  // Runs SQL on the database of alias through a connection of its own (test data, sabotage).
  void execute(const std::string& alias, const std::string& sql);

  engine::Session session{"Test"};

 private:
  std::filesystem::path root_;
};

}  // namespace data_test
