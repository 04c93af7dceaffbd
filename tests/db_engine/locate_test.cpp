// Locating names that begin with letters outside ASCII, ignoring case: through a table's index, a
// table in another order, and a query's rows; and the index stays in use.
#include <sqlite3.h>

#include "engine_fixture.h"

namespace engine_test {
namespace {

using engine::FieldType;

class UnicodeLocateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::TableSchema units{"Lexicon.DB",
                              {{"Code", FieldType::Integer, 0, true}, {"Name", FieldType::String, 50}},
                              {"Code"},
                              {{"NameIndex", {"Name", "Code"}}},
                              {}};
    engine::createDatabase(directory.path(), {"SWISS", {units}}, "");
    runSql(directory.path(),
           "INSERT INTO Lexicon VALUES (1,'Ängistein-Member'),(2,'Öhningen-Formation'),(3,'öhninger Schiefer'),"
           "(4,'Ohningen-Sand'),(5,'Zürich-Schichten'),(6,'Aare-Granit'),(7,'Éclépens-Kalk'),(8,'ÄNGSTLI');");
    session.setAlias("SWISS", directory.path());
  }
  std::unique_ptr<engine::Table> table(const std::string& index) {
    auto result = std::make_unique<engine::Table>(session, "Units");
    result->setDatabaseName("SWISS");
    result->setTableName("Lexicon.DB");
    if (!index.empty()) result->setIndexName(index);
    result->open();
    return result;
  }
  // Each text finds the name given (empty: nothing, and the cursor stays).
  static void expectFinds(engine::Dataset& dataset) {
    const struct {
      const char* text;
      bool partial;
      const char* found;
    } cases[] = {{"öhningen", true, "Öhningen-Formation"}, {"ängistein", true, "Ängistein-Member"},
                 {"ÖHNINGER", true, "öhninger Schiefer"},  {"ohningen", true, "Ohningen-Sand"},
                 {"ängstli", false, "ÄNGSTLI"},            {"zürich-schichten", false, "Zürich-Schichten"},
                 {"ÉCLÉ", true, "Éclépens-Kalk"},          {"zurich", true, ""},
                 {"ängist", false, ""}};
    for (const auto& test : cases) {
      dataset.last();
      const std::string before = dataset.fieldByName("Name").asString();
      const bool found = dataset.locate("Name", test.text, {.caseInsensitive = true, .partialKey = test.partial});
      EXPECT_EQ(found, *test.found != '\0') << dataset.name() << ": " << test.text;
      EXPECT_EQ(dataset.fieldByName("Name").asString(), found ? test.found : before) << dataset.name() << ": " << test.text;
    }
  }

  TemporaryDirectory directory;
  engine::Session session{"Swiss"};
};

TEST_F(UnicodeLocateTest, CaseIsFoldedForEveryLetterInEachWayOfLocating) {
  auto byName = table("NameIndex");
  expectFinds(*byName);
  auto byCode = table("");  // no index on the name: the condition goes to SQL
  expectFinds(*byCode);
  engine::Query query(session, "Query");
  query.setDatabaseName("SWISS");
  query.setSql({"select * from Lexicon order by Code"});
  query.open();
  expectFinds(query);
}

int collectStatement(unsigned, void* sink, void* statement, void*) {
  static_cast<std::vector<std::string>*>(sink)->push_back(sqlite3_sql(static_cast<sqlite3_stmt*>(statement)));
  return 0;
}

// Every statement a locate runs through the name's index seeks in it: no statement scans the table.
TEST_F(UnicodeLocateTest, ALocateThroughTheIndexSearchesItAndScansNothing) {
  auto byName = table("NameIndex");
  sqlite3* connection = byName->database().handle();
  std::vector<std::string> statements;
  sqlite3_trace_v2(connection, SQLITE_TRACE_STMT, collectStatement, &statements);
  ASSERT_TRUE(byName->locate("Name", "öhningen", {.caseInsensitive = true, .partialKey = true}));
  sqlite3_trace_v2(connection, 0, nullptr, nullptr);
  ASSERT_FALSE(statements.empty());
  for (const std::string& sql : statements) {
    sqlite3_stmt* plan = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(connection, ("EXPLAIN QUERY PLAN " + sql).c_str(), -1, &plan, nullptr), SQLITE_OK) << sql;
    std::string details;
    while (sqlite3_step(plan) == SQLITE_ROW) details += std::string(reinterpret_cast<const char*>(sqlite3_column_text(plan, 3))) + "; ";
    sqlite3_finalize(plan);
    EXPECT_NE(details.find("USING"), std::string::npos) << sql << " -> " << details;
    EXPECT_EQ(details.find("SCAN"), std::string::npos) << sql << " -> " << details;
  }
}

}  // namespace
}  // namespace engine_test
