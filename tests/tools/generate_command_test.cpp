// Synthetic databases through vorl_generate's command: what they hold, their consistency with the
// rules the generator set aside while loading, and the same rows for the same seed.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "data/sample_database.h"
#include "db_engine/query.h"
#include "db_engine/session.h"
#include "tools/generate_command.h"

namespace {

namespace fs = std::filesystem;

class Generate : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vorl-generate-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    sessions_.clear();
    fs::remove_all(root_);
  }

  int run(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    err_.str("");
    return tools::runGenerateTool(arguments, out, err_);
  }

  // Generates into root/name and opens a session on it.
  engine::Session& generate(const std::string& name, const std::string& units, const std::string& results,
                            const std::string& seed) {
    EXPECT_EQ(run({(root_ / name).string(), units, results, seed}), 0) << err_.str();
    auto& session = sessions_.emplace_back(std::make_unique<engine::Session>(name));
    session->loadConfiguration((root_ / name / data::kEngineConfigurationName).string());
    session->addPassword(data::kTablePassword);
    return *session;
  }

  static engine::Query& run(engine::Session& session, const std::string& database, const std::string& sql,
                            std::unique_ptr<engine::Query>& holder) {
    holder = std::make_unique<engine::Query>(session, "Check");
    holder->setDatabaseName(database);
    holder->setSql({sql});
    holder->open();
    return *holder;
  }
  std::int64_t count(engine::Session& session, const std::string& database, const std::string& sql) {
    return run(session, database, sql, query_).fields().front()->asInteger();
  }
  std::string column(engine::Session& session, const std::string& database, const std::string& sql) {
    std::string all;
    engine::Query& query = run(session, database, sql, query_);
    for (query.first(); !query.eof(); query.next()) all += query.fields().front()->asString() + "\n";
    return all;
  }

  fs::path root_;
  std::ostringstream err_;
  std::vector<std::unique_ptr<engine::Session>> sessions_;
  std::unique_ptr<engine::Query> query_;
};

TEST_F(Generate, BadArgumentsPrintUsage) {
  for (const auto& line : std::vector<std::vector<std::string>>{
           {}, {"root", "10"}, {"root", "-1", "5"}, {"root", "ten", "5"}, {"root", "10", "5x"},
           {"root", "10", "5", "4294967296"}, {"root", "10", "5", "1", "extra"}}) {
    EXPECT_EQ(run(line), 2) << testing::PrintToString(line);
    EXPECT_NE(err_.str().find("usage: vorl_generate"), std::string::npos);
  }
}

TEST_F(Generate, LexiconHasADeepHierarchyMostlyInSouthAfrica) {
  engine::Session& session = generate("a", "3000", "0", "7");
  EXPECT_EQ(count(session, "VORL", "select count(*) from vorllist"), 3000);
  EXPECT_EQ(count(session, "VORL", "select count(*) from vorllist where CountryID = 'ZA'"), 1800);
  EXPECT_GE(count(session, "VORL", "select count(distinct CountryID) from vorllist"), 5);
  EXPECT_EQ(count(session, "VORL",
                  "with recursive chain(Code, Depth) as (select Code, 1 from vorllist where LParent = 0 "
                  "union all select v.Code, c.Depth + 1 from vorllist v join chain c on v.LParent = c.Code) "
                  "select max(Depth) from chain"),
            6);
  EXPECT_EQ(count(session, "VORL", "select count(*) from vorllist where Years = 4600000000"), 1);
  EXPECT_EQ(count(session, "VORL", "select count(*) from vorllist where Years > 4600000000"), 14);
  // A prefix picks out some units, not none and not all.
  const std::int64_t klip = count(session, "VORL", "select count(*) from vorllist where Name like 'Klip%'");
  EXPECT_GT(klip, 10);
  EXPECT_LT(klip, 600);
  EXPECT_GT(count(session, "VORL", "select count(*) from CodeArea where Area = '1'"), 500);
  EXPECT_GT(count(session, "VORL", "select count(*) from Correlatives"), 0);
  EXPECT_GT(count(session, "VORL", "select count(*) from SynonList"), 0);
}

// The rules were set aside while loading: every row must still satisfy them, and they are back.
TEST_F(Generate, RowsKeepTheRulesThatAreBackInPlace) {
  engine::Session& session = generate("b", "2000", "5000", "3");
  EXPECT_EQ(count(session, "ABResults", "select count(distinct RegressionNumber) from IsoRgr20"), 5000);
  EXPECT_GE(count(session, "ABResults", "select count(distinct InterpAbr) from IsoRgr20"), 5);
  EXPECT_EQ(count(session, "VORL", "select count(*) from AcpInterp"), 3);
  EXPECT_GT(count(session, "ABResults", "select count(*) from Suite"), 200);
  EXPECT_EQ(count(session, "ABResults", "select count(*) from IsoRgr20 where IAge <> cast(round(Age * 1000) as integer)"),
            0);
  for (const char* orphans :
       {"select count(*) from vorllist where CountryID not in (select CountryID from CountryList)",
        "select count(*) from vorllist where Rank not in (select RankAbr from Rank)",
        "select count(*) from vorllist where Status not in (select Code from VORLSTAT)",
        "select count(*) from vorllist where CParent not in (select CODE from CHRONO)",
        "select count(*) from vorllist where AgeMinimum > AgeMaximum",
        "select count(*) from vorllist v where LParent <> 0 and not exists "
        "(select 1 from vorllist p where p.Code = v.LParent)",
        "select count(*) from CodeArea where Area not in (select AreaID from AreaList)",
        "select count(*) from Correlatives where Code not in (select Code from vorllist)"}) {
    EXPECT_EQ(count(session, "VORL", orphans), 0) << orphans;
  }
  for (const char* orphans :
       {"select count(*) from IsoRgr20 where InterpAbr not in (select InterpAbr from Interpretation)",
        "select count(*) from IsoRgr20 where MaterialAbr not in (select MaterialAbr from Material)",
        "select count(*) from IsoRgr20 where IsotopeSystem not in (select IsoSystem from IsoSystem)",
        "select count(*) from IsoRgr20 r where not exists "
        "(select 1 from Suite s where s.CountryAbr = r.CountryAbr and s.UnitName = r.UnitName)",
        "select count(*) from SmpReg where RegressionNumber not in (select RegressionNumber from IsoRgr20)",
        "select count(*) from Suite where GISID < 1 or GISID > 2000"}) {
    EXPECT_EQ(count(session, "ABResults", orphans), 0) << orphans;
  }

  data::createEmptyDatabases((root_ / "reference").string());
  engine::Session reference("Reference");
  reference.loadConfiguration(data::writeEngineConfiguration((root_ / "reference").string()));
  reference.addPassword(data::kTablePassword);
  const std::string objects = "select type || ' ' || name from sqlite_master where type in ('trigger', 'index') order by 1";
  for (const char* database : {"VORL", "ABResults"}) {
    EXPECT_EQ(column(session, database, objects), column(reference, database, objects)) << database;
  }
}

TEST_F(Generate, SameSeedSameRowsOtherSeedOtherRows) {
  const std::string names = "select Name || '/' || LParent || '/' || Years from vorllist order by Code";
  const std::string first = column(generate("one", "500", "0", "11"), "VORL", names);
  EXPECT_EQ(column(generate("two", "500", "0", "11"), "VORL", names), first);
  EXPECT_NE(column(generate("three", "500", "0", "12"), "VORL", names), first);
}

TEST_F(Generate, NoUnitsMeansNoResults) {
  engine::Session& session = generate("empty", "0", "100", "1");
  EXPECT_EQ(count(session, "VORL", "select count(*) from vorllist"), 0);
  EXPECT_EQ(count(session, "ABResults", "select count(*) from IsoRgr20"), 0);
  EXPECT_EQ(count(session, "VORL", "select count(*) from CountryList"), 6);
}

}  // namespace
