// A large query result read a window at a time: every access order serves the rows a plain read
// of the statement gives, filters and locates see the whole result, and a run again over an
// unchanged database and the same parameter values reads nothing.
#include <sqlite3.h>

#include "engine_fixture.h"

namespace engine_test {
namespace {

constexpr int kRows = 5000;

class QueryWindowTest : public LexiconTest {
 protected:
  void SetUp() override {
    LexiconTest::SetUp();
    runSql(directory.path(),
           "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n WHERE i < 99 + " + std::to_string(kRows) +
               ") INSERT INTO CodeArea SELECT i, 'A' || (i % 7) FROM n");
    query.setDatabaseName("VORL");
    query.setSql({"select Code, Area from codearea", "order by Area desc, Code;  -- newest areas first"});
  }

  // The codes in the order the statement gives them, read straight from SQLite.
  std::vector<std::int64_t> expected(const std::string& where = "") {
    auto& database = session.database("VORL");
    database.open();
    sqlite3_stmt* statement = nullptr;
    const auto sql = "select Code from codearea " + where + " order by Area desc, Code";
    sqlite3_prepare_v2(database.handle(), sql.c_str(), -1, &statement, nullptr);
    std::vector<std::int64_t> codes;
    while (sqlite3_step(statement) == SQLITE_ROW) codes.push_back(sqlite3_column_int64(statement, 0));
    sqlite3_finalize(statement);
    return codes;
  }

  std::int64_t codeAt(std::size_t row) { return std::get<std::int64_t>(query.rowAt(row)[0]); }

  engine::Query query{session, "Querydm"};
};

TEST_F(QueryWindowTest, EveryAccessOrderServesTheStatementsRows) {
  query.open();
  const auto codes = expected();
  ASSERT_EQ(query.recordCount(), codes.size());
  std::vector<std::int64_t> forward;
  for (query.first(); !query.eof(); query.next()) forward.push_back(query.fieldByName("Code").asInteger());
  EXPECT_EQ(forward, codes);
  std::vector<std::int64_t> backward;
  for (query.last(); !query.bof(); query.prior()) backward.push_back(query.fieldByName("Code").asInteger());
  EXPECT_EQ(std::vector<std::int64_t>(backward.rbegin(), backward.rend()), codes);
  for (std::size_t step = 0, row = 0; step < 300; ++step, row = (row * 7919 + 13) % codes.size()) {
    ASSERT_EQ(codeAt(row), codes[row]) << "row " << row;
  }
  EXPECT_THROW(query.rowAt(codes.size()), engine::EngineError);
}

TEST_F(QueryWindowTest, FilterAndLocateSeeTheWholeResult) {
  query.setFilter("Area = 'A3'");
  query.setFiltered(true);
  query.open();
  const auto codes = expected("where Area = 'A3'");
  ASSERT_EQ(query.recordCount(), codes.size());
  EXPECT_EQ(codeAt(codes.size() - 1), codes.back());
  EXPECT_EQ(codeAt(0), codes.front());
  ASSERT_TRUE(query.locate("Code", std::to_string(codes[600])));
  EXPECT_EQ(query.recNo(), 600u);
  EXPECT_FALSE(query.locate("Code", "100")) << "100 lies in area A2";
  query.setFiltered(false);
  EXPECT_EQ(query.recordCount(), expected().size());
}

TEST_F(QueryWindowTest, RunningAgainReadsOnlyWhenTheDatabaseOrTheParametersChanged) {
  query.setSql({"select Code, Area from codearea where Code >= :Lowest", "order by Area desc, Code"});
  query.paramByName("Lowest").setAsString("100");
  query.open();
  const auto counted = [&] {
    int counts = 0;
    sqlite3_trace_v2(
        query.database().handle(), SQLITE_TRACE_STMT,
        [](unsigned, void* context, void*, void* text) {
          if (std::string(static_cast<const char*>(text)).rfind("SELECT count(*)", 0) == 0) ++*static_cast<int*>(context);
          return 0;
        },
        &counts);
    query.refresh();
    sqlite3_trace_v2(query.database().handle(), 0, nullptr, nullptr);
    return counts;
  };
  query.moveTo(40);
  EXPECT_EQ(counted(), 0);
  EXPECT_EQ(query.recNo(), 40u) << "a refresh stays on its row";
  runSql(directory.path(), "INSERT INTO CodeArea VALUES (99999, 'A9')");
  EXPECT_EQ(counted(), 1) << "another connection's commit";
  EXPECT_EQ(query.recordCount(), static_cast<std::size_t>(kRows) + 1);
  EXPECT_EQ(codeAt(0), 99999);
  query.close();
  query.paramByName("Lowest").setAsString("5000");
  query.open();
  EXPECT_EQ(query.recordCount(), static_cast<std::size_t>(kRows) - 4900 + 1);
}

}  // namespace
}  // namespace engine_test
