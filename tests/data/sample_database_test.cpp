// The sample databases a new installation starts with, opened through the engine as the program
// opens them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "data/sample_database.h"
#include "db_engine/database.h"
#include "db_engine/errors.h"
#include "db_engine/query.h"
#include "db_engine/session.h"
#include "platform/profile_file.h"

namespace {

namespace fs = std::filesystem;

fs::path temporaryDirectory() {
  std::string pattern = (fs::temp_directory_path() / "vorl-sample-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("Cannot create a temporary directory");
  return pattern;
}

struct UnitRow {
  std::int64_t code;
  std::int64_t parent;
  std::string name;
  std::string rank;
  std::string country;
};

class SampleDatabase : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = temporaryDirectory();
    configuration_ = data::createSampleDatabases(root_.string(), VORL_SAMPLE_DIR);
  }
  static void TearDownTestSuite() { fs::remove_all(root_); }

  void SetUp() override {
    session_.loadConfiguration(configuration_);
    session_.addPassword(data::kTablePassword);
  }

  engine::Query& run(const std::string& database, const std::string& sql) {
    query_ = std::make_unique<engine::Query>(session_, "Check");
    query_->setDatabaseName(database);
    query_->setSql({sql});
    query_->open();
    return *query_;
  }
  std::int64_t count(const std::string& database, const std::string& sql) {
    return run(database, sql).fields().front()->asInteger();
  }

  std::vector<UnitRow> units() {
    std::vector<UnitRow> rows;
    engine::Query& query = run("VORL", "select Code, LParent, Name, Rank, CountryID from vorllist");
    for (query.first(); !query.eof(); query.next()) {
      rows.push_back({query.fieldByName("Code").asInteger(), query.fieldByName("LParent").asInteger(),
                      query.fieldByName("Name").asString(), query.fieldByName("Rank").asString(),
                      query.fieldByName("CountryID").asString()});
    }
    return rows;
  }

  static fs::path root_;
  static std::string configuration_;
  engine::Session session_{"SampleTest"};
  std::unique_ptr<engine::Query> query_;
};

fs::path SampleDatabase::root_;
std::string SampleDatabase::configuration_;

TEST_F(SampleDatabase, ConfigurationNamesTheFourAliases) {
  EXPECT_EQ(configuration_, (root_ / "engine.ini").string());
  const auto alias = [](const char* name) { return platform::readProfileString(configuration_, "Aliases", name, ""); };
  EXPECT_EQ(alias("VORL"), (root_ / "VORL").string());
  EXPECT_EQ(alias("ABResults"), (root_ / "ABResults").string());
  EXPECT_EQ(alias("ABtmp"), (root_ / "ABtmp").string());
  EXPECT_EQ(alias("ABtmp0"), alias("ABtmp"));
}

TEST_F(SampleDatabase, LexiconHoldsARealHierarchyOverSeveralCountries) {
  const std::vector<UnitRow> rows = units();
  EXPECT_GE(rows.size(), 200u);
  std::map<std::string, int> perCountry;
  std::map<std::int64_t, std::int64_t> parentOf;
  for (const UnitRow& row : rows) {
    ++perCountry[row.country];
    parentOf[row.code] = row.parent;
  }
  EXPECT_GE(perCountry.size(), 3u);
  const auto largest = std::max_element(perCountry.begin(), perCountry.end(),
                                        [](const auto& left, const auto& right) { return left.second < right.second; });
  EXPECT_EQ(largest->first, "ZA");

  std::size_t deepest = 0;
  for (const UnitRow& row : rows) {
    std::size_t depth = 1;
    for (std::int64_t parent = row.parent; parent != 0 && depth <= rows.size(); parent = parentOf[parent]) {
      ASSERT_TRUE(parentOf.contains(parent)) << row.name << " names a parent that is not in the lexicon";
      ++depth;
    }
    ASSERT_LE(depth, rows.size()) << row.name << " is its own ancestor";
    deepest = std::max(deepest, depth);
  }
  EXPECT_GE(deepest, 4u);
}

TEST_F(SampleDatabase, LexiconKeepsItsLookupsAndTheWithdrawnUnits) {
  EXPECT_GE(count("VORL", "select count(*) from vorllist where Years = 4600000000"), 1);
  EXPECT_EQ(count("VORL", "select count(*) from vorllist where CParent not in (select CODE from CHRONO)"), 0);
  EXPECT_EQ(count("VORL", "select count(*) from vorllist where Dated <> 0 or Interpretation is not null"), 0);
  EXPECT_GE(count("VORL", "select count(*) from vorllist where length(Description) > 400"), 5);
  EXPECT_GE(count("VORL", "select count(*) from CodeArea where Area = '1'"), 20);
  EXPECT_GE(count("VORL", "select count(*) from Correlatives c join vorllist a on a.Code = c.Code "
                          "join vorllist b on b.Code = c.Correlative where a.CountryID <> b.CountryID"),
            1);
  EXPECT_EQ(run("VORL", "select Comment from VORLWhen").fieldByName("Comment").asString(),
            "Data last updated: 14 March 2025");
}

// The units that the README offers for dating are in the lexicon as listed.
TEST_F(SampleDatabase, ReadmeListsUnitsOfTheLexicon) {
  std::ifstream readme(fs::path(VORL_SAMPLE_DIR) / "lexicon" / "README.md");
  const std::regex row(R"(^\| (\d+) \| ([^|]+) \| (\w+) \| ([A-Z]{2}) \|)");
  std::map<std::int64_t, UnitRow> byCode;
  for (const UnitRow& unit : units()) byCode[unit.code] = unit;
  int listed = 0;
  for (std::string line; std::getline(readme, line);) {
    std::smatch match;
    if (!std::regex_search(line, match, row)) continue;
    ++listed;
    const auto unit = byCode.find(std::stoll(match[1]));
    ASSERT_NE(unit, byCode.end()) << line;
    std::string name = match[2];
    name.erase(name.find_last_not_of(' ') + 1);
    EXPECT_EQ(unit->second.name, name);
    EXPECT_EQ(unit->second.rank, match[3]);
    EXPECT_EQ(unit->second.country, match[4]);
  }
  EXPECT_GE(listed, 20);
}

TEST_F(SampleDatabase, SuitesOfTheResultsPointAtUnitsOfTheLexicon) {
  if (!fs::is_directory(fs::path(VORL_SAMPLE_DIR) / "results")) GTEST_SKIP() << "no sample results";
  std::set<std::int64_t> codes;
  for (const UnitRow& unit : units()) codes.insert(unit.code);
  engine::Query& suites = run("ABResults", "select UnitName, GISID from Suite where GISID is not null");
  ASSERT_FALSE(suites.isEmpty());
  for (suites.first(); !suites.eof(); suites.next()) {
    EXPECT_TRUE(codes.contains(suites.fieldByName("GISID").asInteger())) << suites.fieldByName("UnitName").asString();
  }
}

TEST_F(SampleDatabase, PasswordGuardsTheLexiconAndResultsOnly) {
  engine::Session stranger("Stranger");
  stranger.loadConfiguration(configuration_);
  for (const char* alias : {"VORL", "ABResults"}) {
    try {
      stranger.database(alias).open();
      ADD_FAILURE() << alias << " opened without its password";
    } catch (const engine::EngineError& error) {
      EXPECT_EQ(error.code(), engine::code::PasswordRequired) << error.what();
    }
  }
  EXPECT_NO_THROW(stranger.database("ABtmp0").open());
}

TEST_F(SampleDatabase, CreatingAgainReplacesTheDatabases) {
  const std::int64_t before = count("VORL", "select count(*) from vorllist");
  query_.reset();
  session_.database("VORL").close();
  EXPECT_EQ(data::createSampleDatabases(root_.string(), VORL_SAMPLE_DIR), configuration_);
  EXPECT_EQ(count("VORL", "select count(*) from vorllist"), before);
}

}  // namespace
