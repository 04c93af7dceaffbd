// The dated-unit module on real databases: its own connections, the chain from a unit to its
// results, and the warnings of VORLListPostError for refusals of the unit table.
#include "data/dm_unit_dated.h"

#include <gtest/gtest.h>

#include "data/lexicon_schema.h"
#include "data/results_schema.h"
#include "db_engine/database.h"
#include "db_engine/errors.h"
#include "test_databases.h"

namespace {

constexpr const char* kLexiconRows = R"(
INSERT INTO CountryList VALUES ('ZA','South Africa');
INSERT INTO VORLLIST (Years, Code, Name, CountryID) VALUES
  (2055000000, 100, 'Bushveld Complex', 'ZA'), (250000000, 200, 'Karoo Supergroup', 'ZA');
INSERT INTO Correlatives VALUES (100, 5);
INSERT INTO AcpInterp VALUES ('Empl', 'Emplacement');
)";

constexpr const char* kResultRows = R"(
INSERT INTO Country (CountryAbr, Country) VALUES ('ZA','South Africa'), ('NA','Namibia');
INSERT INTO Interpretation VALUES ('Empl','Emplacement'), ('Meta','Metamorphism');
INSERT INTO Suite (UnitName, UnitRank, CountryAbr, GISID) VALUES
  ('Bushveld Complex','Cx','ZA',100), ('Bushveld Complex','Cx','NA',300);
INSERT INTO IsoRgr20 (RegressionNumber, CountryAbr, UnitName, InterpAbr, Age) VALUES
  (1,'ZA','Bushveld Complex','Meta',2040), (2,'ZA','Bushveld Complex','Empl',2054.4),
  (3,'NA','Bushveld Complex','Empl',1000);
)";

class DmUnitDatedTest : public ::testing::Test {
 protected:
  DmUnitDatedTest() {
    databases.create("VORL", data::lexiconSchema(), "pluvek");
    databases.create("ABResults", data::resultsSchema(), "pluvek");
    databases.session.addPassword("pluvek");
    databases.execute("VORL", kLexiconRows);
    databases.execute("ABResults", kResultRows);
    dmUnitDated.showWarning = [this](const std::string& text) { warnings.push_back(text); };
  }

  void openForCheck() {
    for (engine::Dataset* dataset : {static_cast<engine::Dataset*>(&dmUnitDated.VORLList),
                                     static_cast<engine::Dataset*>(&dmUnitDated.AcpInterp),
                                     static_cast<engine::Dataset*>(&dmUnitDated.Suite),
                                     static_cast<engine::Dataset*>(&dmUnitDated.IsoResults),
                                     static_cast<engine::Dataset*>(&dmUnitDated.Interpretation)}) {
      dataset->open();
    }
  }

  // Edits the current unit, posts, and tells how the post ended.
  std::string postUnit(const std::function<void()>& change) {
    dmUnitDated.VORLList.edit();
    change();
    try {
      dmUnitDated.VORLList.post();
    } catch (const engine::SilentAbort&) {
      return "silent abort";
    } catch (const engine::EngineError& error) {
      return "engine error " + std::to_string(error.code());
    }
    return "posted";
  }

  engine::Field& unitField(std::string_view name) { return dmUnitDated.VORLList.fieldByName(name); }

  data_test::TestDatabases databases;
  data::TdmUnitDated dmUnitDated{databases.session};
  std::vector<std::string> warnings;
};

TEST_F(DmUnitDatedTest, UsesItsOwnConnectionsToBothDatabases) {
  EXPECT_EQ(dmUnitDated.DBu.databaseName(), "DBunits");
  EXPECT_EQ(dmUnitDated.DBu.aliasName(), "VORL");
  EXPECT_EQ(dmUnitDated.Database2.databaseName(), "DBambrell");
  EXPECT_EQ(dmUnitDated.Database2.aliasName(), "ABResults");
  openForCheck();
  EXPECT_EQ(&dmUnitDated.VORLList.database(), &dmUnitDated.DBu);
  EXPECT_EQ(&dmUnitDated.IsoResults.database(), &dmUnitDated.Database2);
  EXPECT_TRUE(dmUnitDated.DBu.connected());
  EXPECT_EQ(dmUnitDated.VORLList.fields().size(), 18u);
  EXPECT_EQ(dmUnitDated.IsoResults.fields().size(), 15u);
}

TEST_F(DmUnitDatedTest, UnitReachesItsResultsThroughItsSuiteOfTheSameCountry) {
  openForCheck();
  ASSERT_TRUE(dmUnitDated.VORLList.locate("Code", std::string("100")));
  EXPECT_EQ(dmUnitDated.Suite.recordCount(), 1u);
  EXPECT_EQ(dmUnitDated.IsoResults.recordCount(), 2u);  // the Namibian suite of that name is kept apart
  dmUnitDated.IsoResults.first();
  EXPECT_EQ(dmUnitDated.Interpretation.fieldByName("Interpretation").asString(), "Metamorphism");
  dmUnitDated.IsoResults.next();
  EXPECT_EQ(dmUnitDated.Interpretation.fieldByName("Interpretation").asString(), "Emplacement");
  EXPECT_EQ(dmUnitDated.AcpInterp.recordCount(), 1u);

  ASSERT_TRUE(dmUnitDated.VORLList.locate("Code", std::string("200")));
  EXPECT_TRUE(dmUnitDated.Suite.isEmpty());
  EXPECT_TRUE(dmUnitDated.IsoResults.isEmpty());
  EXPECT_TRUE(dmUnitDated.Interpretation.isEmpty());
}

TEST_F(DmUnitDatedTest, IntegrityRefusalsBecomeWarningsAndKeepTheEdit) {
  dmUnitDated.VORLList.open();
  ASSERT_TRUE(dmUnitDated.VORLList.locate("Code", std::string("200")));
  EXPECT_EQ(postUnit([&] { unitField("Code").setAsInteger(100); }), "silent abort");
  EXPECT_EQ(dmUnitDated.VORLList.state(), engine::DatasetState::Edit);
  EXPECT_EQ(unitField("Code").asInteger(), 100);
  dmUnitDated.VORLList.cancel();
  EXPECT_EQ(postUnit([&] { unitField("Name").clear(); }), "silent abort");
  dmUnitDated.VORLList.cancel();
  EXPECT_EQ(postUnit([&] {
              unitField("AgeMinimum").setAsFloat(300);
              unitField("AgeMaximum").setAsFloat(250);
            }),
            "silent abort");
  dmUnitDated.VORLList.cancel();
  EXPECT_EQ(postUnit([&] { unitField("CountryID").setAsString("QQ"); }), "silent abort");
  dmUnitDated.VORLList.cancel();
  ASSERT_TRUE(dmUnitDated.VORLList.locate("Code", std::string("100")));
  EXPECT_EQ(postUnit([&] { unitField("Code").setAsInteger(101); }), "silent abort");
  dmUnitDated.VORLList.cancel();
  EXPECT_EQ(warnings, (std::vector<std::string>{"Key violation in VORLList", "Required field missing",
                                                "Error in integrity", "Foreign key", "Details exist"}));
}

TEST_F(DmUnitDatedTest, OtherErrorsPassThroughWithoutWarning) {
  dmUnitDated.VORLList.open();
  EXPECT_EQ(postUnit([&] { unitField("Years").setAsFloat(-1); }),
            "engine error " + std::to_string(engine::code::MinimumValue));
  EXPECT_EQ(dmUnitDated.VORLList.state(), engine::DatasetState::Edit);
  dmUnitDated.VORLList.cancel();

  engine::PostErrorAction action = engine::PostErrorAction::Fail;
  dmUnitDated.VORLListPostError(dmUnitDated.VORLList, std::runtime_error("disk full"), action);
  EXPECT_EQ(action, engine::PostErrorAction::Fail);
  EXPECT_TRUE(warnings.empty());

  // With no warning box wired the engine's own error reports the refusal.
  dmUnitDated.showWarning = nullptr;
  ASSERT_TRUE(dmUnitDated.VORLList.locate("Code", std::string("200")));
  EXPECT_EQ(postUnit([&] { unitField("Code").setAsInteger(100); }),
            "engine error " + std::to_string(engine::code::KeyViolation));
}

}  // namespace
