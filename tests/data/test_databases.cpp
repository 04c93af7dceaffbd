#include "test_databases.h"

#include <cstdlib>
#include <stdexcept>

#include "db_engine/database.h"

namespace data_test {

TestDatabases::TestDatabases() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vorl-data-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("Cannot create a temporary directory");
  root_ = pattern;
}

TestDatabases::~TestDatabases() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

std::string TestDatabases::create(const std::string& alias, const engine::DatabaseSchema& schema,
                                  const std::string& password) {
  const std::filesystem::path directory = root_ / alias;
  std::filesystem::create_directories(directory);
  engine::createDatabase(directory.string(), schema, password);
  session.setAlias(alias, directory.string());
  return directory.string();
}

void TestDatabases::execute(const std::string& alias, const std::string& sql) {
  engine::Database database(session, "TestSetup");
  database.setAliasName(alias);
  database.setDatabaseName("TestSetup" + alias);
  database.open();
  database.execute(sql);
  database.close();
}

}  // namespace data_test
