// Filter expressions: every comparison operator selects, on tables (SQL) and on query results (in
// memory), the rows that the same condition selects in SQL; unknown operators are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine_fixture.h"

namespace engine_test {
namespace {

struct Condition {
  std::string field;
  std::string constant;  // as written in the expression; bound as the same literal in SQL
};

const std::vector<std::string> kOperators = {"=", "<>", "!=", "<", "<=", ">", ">="};
const std::vector<Condition> kConditions = {{"Code", "5"}, {"Name", "'Ecca'"}, {"Years", "280e6"}};

std::vector<long long> codes(engine::Dataset& dataset) {
  std::vector<long long> codes;
  for (dataset.first(); !dataset.eof(); dataset.next()) codes.push_back(dataset.fieldByName("Code").asInteger());
  std::sort(codes.begin(), codes.end());
  return codes;
}

class FilterOperatorTest : public LexiconTest {
 protected:
  // Empty values follow the engine's own order, not SQL's NULL: leave none in the compared fields.
  void SetUp() override {
    LexiconTest::SetUp();
    runSql(directory.path(), "UPDATE VORLLIST SET Years = 0 WHERE Years IS NULL");
  }

  std::vector<long long> selectedBySql(const std::string& condition) {
    engine::Query query(session, "BySql");
    query.setDatabaseName("VORL");
    query.setSql({"select Code from VORLLIST where " + condition});
    query.open();
    return codes(query);
  }

  std::vector<long long> filteredTable(const std::string& expression) {
    auto units = table("Units", "VORLLIST.DB");
    units->setFilter(expression);
    units->setFiltered(true);
    units->open();
    return codes(*units);
  }

  std::vector<long long> filteredQuery(const std::string& expression) {
    engine::Query query(session, "Filtered");
    query.setDatabaseName("VORL");
    query.setSql({"select Code, Name, Years from vorllist"});
    query.setFilter(expression);
    query.setFiltered(true);
    query.open();
    return codes(query);
  }
};

TEST_F(FilterOperatorTest, EveryOperatorSelectsWhatSqlSelects) {
  for (const Condition& condition : kConditions) {
    for (const std::string& comparison : kOperators) {
      const std::string expression = condition.field + comparison + condition.constant;
      const std::vector<long long> expected = selectedBySql(expression);
      EXPECT_EQ(filteredTable(expression), expected) << expression << " on a table";
      EXPECT_EQ(filteredQuery(expression), expected) << expression << " on a query result";
    }
  }
}

TEST_F(FilterOperatorTest, UnknownOperatorIsRefusedNamingExpressionAndPosition) {
  for (const std::string expression : {"Code==5", "Code!5", "Code=>5", "Code=<5", "Code<<5", "Code><5", "Code!<5"}) {
    try {
      filteredTable(expression);
      ADD_FAILURE() << expression << " was accepted";
    } catch (const engine::EngineError& error) {
      const std::string message = error.what();
      EXPECT_NE(message.find("Units"), std::string::npos) << message;
      EXPECT_NE(message.find(expression), std::string::npos) << message;
      EXPECT_NE(message.find("position 5"), std::string::npos) << message;
    }
  }
}

}  // namespace
}  // namespace engine_test
