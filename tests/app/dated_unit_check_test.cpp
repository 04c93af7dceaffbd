// The dated-unit check on small databases built for each test: which units it marks, what it
// shows, and how it leaves the datasets and the stored rows when a post or an open fails.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/dated_unit_check.h"
#include "app_test_support.h"
#include "data/dm_unit_dated.h"
#include "data/lexicon_schema.h"
#include "db_engine/database.h"
#include "db_engine/errors.h"
#include "db_engine/session.h"
#include "db_engine/table.h"

namespace {

using apptest::appendRows;

struct Mark {
  bool dated = false;
  std::string interpretation;
  bool operator==(const Mark&) const = default;
};

void PrintTo(const Mark& mark, std::ostream* out) {
  *out << (mark.dated ? "dated" : "not dated") << " \"" << mark.interpretation << "\"";
}

const Mark kUnmarked{false, ""};
const std::vector<std::string> kUnitFields = {"Code", "Name", "CountryID", "Years"};
const std::vector<std::string> kSuiteFields = {"UnitName", "CountryAbr", "GISID"};
const std::vector<std::string> kResultFields = {"RegressionNumber", "CountryAbr", "UnitName", "InterpAbr", "Age"};

void fillCatalogues(engine::Session& session) {
  appendRows(session, "VORL", "CountryList.db", {"CountryID", "CountryName"},
             {{"ZA", "South Africa"}, {"NA", "Namibia"}});
  appendRows(session, "VORL", "AcpInterp.db", {"InterpAbr", "Interpretation"},
             {{"Empl", "Emplacement"}, {"Extr", "Extrusion"}, {"Depos", "Deposition"}});
  appendRows(session, "ABResults", "Country.db", {"CountryAbr", "Country"},
             {{"ZAF", "South Africa"}, {"NAM", "Namibia"}});
  appendRows(session, "ABResults", "Interpretation.db", {"InterpAbr", "Interpretation"},
             {{"Empl", "Emplacement"}, {"Extr", "Extrusion"}, {"Depos", "Deposition"}, {"Cool", "Cooling"},
              {"empl", "Emplacement (legacy)"}});
}

// One unit for each rule of the walk; the comment of each row says what the check should do.
void fillRuleUnits(engine::Session& session) {
  fillCatalogues(session);
  appendRows(session, "VORL", "VORLLIST.DB", kUnitFields,
             {{"1", "Rustenburg Layered Suite", "ZA", "2055000000"},  // marked
              {"2", "Bobbejaankop Granite", "ZA", "2053000000"},      // "empl" only: not marked
              {"3", "Platreef", "ZA", "2054000000"},                  // Age 0: not marked
              {"4", "Nebo Granite", "ZA", "2054000000"},              // second suite only: not marked
              {"5", "Swaziland Supergroup", "NA", "4600000000"},      // outside filters: marked
              {"6", "Fig Tree Group", "ZA", "3240000000"},            // last qualifying result wins
              {"7", "Mbizane Formation", "ZA", "294000000"},          // no suite: not marked
              {"8", "Dwyka Group", "ZA", "295000000"},                // its namesake in NAM is dated
              {"9", "Dwyka Group", "NA", "295000000"},                // marked
              {"11", "Moodies Group", "ZA", "3220000000"}});          // suite without results
  appendRows(session, "VORL", "VORLLIST.DB", {"Code", "Name", "CountryID", "Dated", "Interpretation"},
             {{"12", "Kaap Valley Pluton", "ZA", "True", "Emplacement"}});  // marked before: keeps its mark
  appendRows(session, "ABResults", "Suite.DB", kSuiteFields,
             {{"Rustenburg Layered Suite", "ZAF", "1"}, {"Bobbejaankop Granite", "ZAF", "2"}, {"Platreef", "ZAF", "3"},
              {"Main Bushveld Granite", "ZAF", "4"}, {"Nebo Granite", "ZAF", "4"},
              {"Swaziland Supergroup", "ZAF", "5"}, {"Fig Tree Group", "ZAF", "6"}, {"Dwyka Group", "ZAF", "8"},
              {"Dwyka Group", "NAM", "9"}, {"Moodies Group", "ZAF", "11"}});
  appendRows(session, "ABResults", "IsoRgr20.DB", kResultFields,
             {{"101", "ZAF", "Rustenburg Layered Suite", "Empl", "2055.91"},
              {"102", "ZAF", "Bobbejaankop Granite", "empl", "2053"},
              {"103", "ZAF", "Platreef", "Empl", "0"},
              {"104", "ZAF", "Main Bushveld Granite", "Cool", "1940"},
              {"105", "ZAF", "Nebo Granite", "Empl", "2054"},
              {"106", "ZAF", "Swaziland Supergroup", "Extr", "3360"},
              {"107", "ZAF", "Fig Tree Group", "Depos", "3259"},
              {"108", "ZAF", "Fig Tree Group", "Extr", "3225"},
              {"109", "ZAF", "Fig Tree Group", "Cool", "3100"},
              {"110", "ZAF", "Dwyka Group", "Cool", "310"},
              {"111", "NAM", "Dwyka Group", "Depos", "302"}});
}

const std::map<int, Mark> kRuleMarks = {
    {1, {true, "Emplacement"}}, {2, kUnmarked}, {3, kUnmarked},           {4, kUnmarked},
    {5, {true, "Extrusion"}},   {6, {true, "Extrusion"}}, {7, kUnmarked}, {8, kUnmarked},
    {9, {true, "Deposition"}},  {11, kUnmarked},          {12, {true, "Emplacement"}}};

class DatedUnitCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    apptest::ensureApplication();
    ui::setDialogs(&dialogs);
  }
  void TearDown() override {
    module.reset();
    ui::setDialogs(nullptr);
  }

  void build(const std::function<void(engine::Session&)>& fill) {
    configuration = apptest::createDatabases(directory.path(), fill);
    session.loadConfiguration(configuration);
    session.addPassword("pluvek");
    module = std::make_unique<data::TdmUnitDated>(session);
    module->showWarning = [this](const std::string& text) { warnings.push_back(text); };
  }

  void run(bool ambrellLink = true, bool sequenceLink = true) {
    DatedUnitCheck(*module, nullptr).run(ambrellLink, sequenceLink);
  }

  // The stored marks, read through a connection of another session: only committed rows show.
  std::map<int, Mark> storedMarks() const {
    engine::Session reader("Reader");
    reader.loadConfiguration(configuration);
    reader.addPassword("pluvek");
    engine::Table units(reader, "units");
    units.setDatabaseName("VORL");
    units.setTableName("VORLLIST.DB");
    units.open();
    std::map<int, Mark> marks;
    for (units.first(); !units.eof(); units.next()) {
      marks[static_cast<int>(units.fieldByName("Code").asInteger())] = {units.fieldByName("Dated").asBoolean(),
                                                                        units.fieldByName("Interpretation").asString()};
    }
    return marks;
  }

  std::vector<bool> activeDatasets() const {
    return {module->VORLList.active(), module->AcpInterp.active(), module->Suite.active(),
            module->IsoResults.active(), module->Interpretation.active()};
  }

  int completionMessages() const {
    int count = 0;
    for (const auto& message : dialogs.messages) {
      if (message.kind == ui::MessageKind::Information && message.caption == "Information" &&
          message.text == "Checking for dated units completed")
        ++count;
    }
    return count;
  }

  QTemporaryDir directory;
  std::string configuration;
  engine::Session session{"Check"};
  apptest::ScriptedDialogs dialogs;
  std::unique_ptr<data::TdmUnitDated> module;
  std::vector<std::string> warnings;
};

const std::vector<bool> kAllClosed(5, false);

// The installation logs each mark in a table whose rows must name a unit, checked when the
// transaction commits; the log names no unit, so every commit of marks is refused until the
// logging goes.
void refuseCommitsOfMarks(data::TdmUnitDated& module, const std::string& configuration) {
  apptest::executeOn(configuration, "VORL",
                     "CREATE TABLE MarkLog (Code INTEGER REFERENCES VORLLIST (Code) DEFERRABLE INITIALLY DEFERRED);"
                     "CREATE TRIGGER LogMark AFTER UPDATE OF Dated ON VORLLIST BEGIN"
                     " INSERT INTO MarkLog VALUES (-NEW.Code); END");
  module.DBu.execute("PRAGMA foreign_keys = ON");
}

void allowCommitsOfMarks(const std::string& configuration) {
  apptest::executeOn(configuration, "VORL", "DROP TRIGGER LogMark");
}

TEST_F(DatedUnitCheckTest, MarksUnitsWithAnAcceptedDateOfTheirFirstSuite) {
  build(fillRuleUnits);
  run();
  EXPECT_EQ(storedMarks(), kRuleMarks);
  EXPECT_EQ(completionMessages(), 1);
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(activeDatasets(), kAllClosed);
  EXPECT_FALSE(module->DBu.inTransaction());
  EXPECT_FALSE(module->Database2.inTransaction());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  run();  // twice gives the marks of once
  EXPECT_EQ(storedMarks(), kRuleMarks);
  EXPECT_EQ(completionMessages(), 2);
}

// While the check runs another connection writes to the results and reads the units; the walk keeps
// the view of the results it started with.
TEST_F(DatedUnitCheckTest, LeavesResultsFreeForOtherWritersAndKeepsItsView) {
  build(fillRuleUnits);
  bool written = false;
  module->VORLList.onBeforePost = [&](engine::Dataset&) {
    if (std::exchange(written, true)) return;
    apptest::executeOn(configuration, "ABResults", "UPDATE IsoRgr20 SET InterpAbr = 'Cool' WHERE RegressionNumber = 111");
    apptest::executeOn(configuration, "VORL", "SELECT count(*) FROM VORLLIST");
  };
  run();
  EXPECT_TRUE(written);
  EXPECT_EQ(storedMarks(), kRuleMarks) << "unit 9 is judged by its result as it was at the start";
  EXPECT_EQ(completionMessages(), 1);
}

TEST_F(DatedUnitCheckTest, FailingCommitRollsBackReportsAndLeavesNothingOpen) {
  build(fillRuleUnits);
  module->DBu.open();
  refuseCommitsOfMarks(*module, configuration);
  EXPECT_THROW(run(), engine::EngineError);
  EXPECT_FALSE(module->DBu.inTransaction());
  EXPECT_FALSE(module->Database2.inTransaction());
  EXPECT_EQ(storedMarks().at(1), kUnmarked);
  EXPECT_EQ(completionMessages(), 0);

  allowCommitsOfMarks(configuration);
  run();
  EXPECT_EQ(storedMarks(), kRuleMarks);
  EXPECT_EQ(completionMessages(), 1);
}

TEST_F(DatedUnitCheckTest, WithoutAcceptedInterpretationsMarksNothingAndStillReports) {
  build([](engine::Session& session) {
    fillRuleUnits(session);
    engine::Table accepted(session, "accepted");
    accepted.setDatabaseName("VORL");
    accepted.setTableName("AcpInterp.db");
    accepted.open();
    while (!accepted.isEmpty()) accepted.deleteRecord();
  });
  run();
  std::map<int, Mark> marks = storedMarks();
  EXPECT_EQ(marks.at(12), kRuleMarks.at(12));  // marked before the run
  marks.erase(12);
  for (const auto& [code, mark] : marks) EXPECT_EQ(mark, kUnmarked) << code;
  EXPECT_EQ(completionMessages(), 1);
}

TEST_F(DatedUnitCheckTest, EmptyUnitTableOpensClosesAndReports) {
  build(fillCatalogues);
  run();
  EXPECT_TRUE(storedMarks().empty());
  EXPECT_EQ(completionMessages(), 1);
  EXPECT_EQ(activeDatasets(), kAllClosed);
}

TEST_F(DatedUnitCheckTest, DoesNothingUnlessBothLinksAreOn) {
  build(fillRuleUnits);
  run(false, true);
  run(true, false);
  run(false, false);
  EXPECT_EQ(storedMarks().at(1), kUnmarked);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(activeDatasets(), kAllClosed);
}

// The installation adds a rule of its own: a unit marked dated must name its interpretation. Unit
// 22 has an accepted result whose interpretation has no text in the catalogue, so every post of its
// mark is refused. The refusal inside the marking is swallowed; met again when the walk moves on,
// it ends the command. Unit 21, marked before, stays marked.
void fillRefusedUnit(engine::Session& session) {
  fillCatalogues(session);
  appendRows(session, "VORL", "AcpInterp.db", {"InterpAbr", "Interpretation"}, {{"Meta", "Metamorphism"}});
  appendRows(session, "ABResults", "Interpretation.db", {"InterpAbr", "Interpretation"}, {{"Meta", ""}});
  appendRows(session, "VORL", "VORLLIST.DB", kUnitFields,
             {{"20", "Pongola Supergroup", "ZA", "2990000000"},
              {"21", "Nsuze Group", "ZA", "2985000000"},
              {"22", "Mozaan Group", "ZA", "2900000000"},
              {"23", "Kaap Valley Pluton", "ZA", "3227000000"}});
  appendRows(session, "ABResults", "Suite.DB", kSuiteFields,
             {{"Pongola Supergroup", "ZAF", "20"}, {"Nsuze Group", "ZAF", "21"}, {"Mozaan Group", "ZAF", "22"},
              {"Kaap Valley Pluton", "ZAF", "23"}});
  appendRows(session, "ABResults", "IsoRgr20.DB", kResultFields,
             {{"100", "ZAF", "Pongola Supergroup", "Cool", "2900"},
              {"1", "ZAF", "Nsuze Group", "Extr", "2985"},
              {"2", "ZAF", "Mozaan Group", "Meta", "2837"},
              {"3", "ZAF", "Kaap Valley Pluton", "Empl", "3227"}});
}

class RefusedPostTest : public DatedUnitCheckTest {
 protected:
  void SetUp() override {
    DatedUnitCheckTest::SetUp();
    // Created before the shared helper completes the databases in the same folders.
    engine::DatabaseSchema lexicon = data::lexiconSchema();
    for (engine::TableSchema& table : lexicon.tables) {
      if (engine::canonicalTableName(table.name) == "VORLLIST")
        table.rules.push_back(
            engine::CheckRule{"DatedNamesInterpretation", "NOT Dated OR COALESCE(Interpretation, '') <> ''"});
    }
    const QString folder = directory.filePath("VORL");
    QDir().mkpath(folder);
    engine::createDatabase(folder.toStdString(), lexicon, "pluvek");
    build(fillRefusedUnit);
  }
};

TEST_F(RefusedPostTest, EndsWithTheRefusalKeepingEarlierMarksAndOpenDatasets) {
  EXPECT_THROW(run(), engine::SilentAbort);
  EXPECT_EQ(warnings, (std::vector<std::string>{"Error in integrity", "Error in integrity"}));
  EXPECT_EQ(completionMessages(), 0);
  EXPECT_EQ(activeDatasets(), std::vector<bool>(5, true));
  EXPECT_EQ(module->VORLList.state(), engine::DatasetState::Edit);
  EXPECT_EQ(module->VORLList.fieldByName("Code").asInteger(), 22);
  EXPECT_FALSE(module->DBu.inTransaction());
  EXPECT_FALSE(module->Database2.inTransaction());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(storedMarks(),
            (std::map<int, Mark>{{20, kUnmarked}, {21, {true, "Extrusion"}}, {22, kUnmarked}, {23, kUnmarked}}));
}

// Between the runs the catalogue gets its text and the first unit's result a new reading.
TEST_F(RefusedPostTest, NextRunStartsAgainFromTheFirstUnit) {
  EXPECT_THROW(run(), engine::SilentAbort);
  apptest::executeOn(configuration, "ABResults",
                     "UPDATE Interpretation SET Interpretation = 'Metamorphism' WHERE InterpAbr = 'Meta';"
                     "UPDATE IsoRgr20 SET InterpAbr = 'Extr' WHERE RegressionNumber = 100");
  run();
  EXPECT_EQ(storedMarks(), (std::map<int, Mark>{{20, {true, "Extrusion"}}, {21, {true, "Extrusion"}},
                                                {22, {true, "Metamorphism"}}, {23, {true, "Emplacement"}}}));
  EXPECT_EQ(completionMessages(), 1);
  EXPECT_EQ(activeDatasets(), kAllClosed);
}

// The refusal ends the walk and the marks before it are committed; when that commit fails too, its
// error is the one reported, since the earlier marks are then lost.
TEST_F(RefusedPostTest, FailingCommitAfterTheRefusalRollsBackAndReportsIt) {
  module->DBu.open();
  refuseCommitsOfMarks(*module, configuration);
  EXPECT_THROW(run(), engine::EngineError);
  EXPECT_FALSE(module->DBu.inTransaction());
  EXPECT_FALSE(module->Database2.inTransaction());
  EXPECT_EQ(storedMarks().at(21), kUnmarked);

  allowCommitsOfMarks(configuration);
  EXPECT_THROW(run(), engine::SilentAbort);
  EXPECT_EQ(storedMarks().at(21), (Mark{true, "Extrusion"}));
}

TEST_F(DatedUnitCheckTest, FailedOpenLeavesEarlierDatasetsOpenAndShowsNothing) {
  build(fillRuleUnits);
  const std::string results = session.aliasDirectory("ABResults").value();
  session.setAlias("ABResults", directory.filePath("missing").toStdString());
  EXPECT_THROW(run(), engine::EngineError);
  EXPECT_EQ(activeDatasets(), (std::vector<bool>{true, true, false, false, false}));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(storedMarks().at(1), kUnmarked);

  session.setAlias("ABResults", results);
  run();
  EXPECT_EQ(storedMarks(), kRuleMarks);
  EXPECT_EQ(activeDatasets(), kAllClosed);
}

}  // namespace
