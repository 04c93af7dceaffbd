// Table cursors: order, navigation, master-detail cascade, filters and locate.
#include "engine_fixture.h"

namespace engine_test {
namespace {

using engine::DataEvent;
using engine::DataSource;
using engine::LocateOptions;

std::vector<std::string> names(engine::Dataset& dataset) {
  std::vector<std::string> result;
  for (dataset.first(); !dataset.eof(); dataset.next()) result.push_back(dataset.fieldByName("Name").asString());
  return result;
}

class CascadeTest : public LexiconTest {
 protected:
  void SetUp() override {
    LexiconTest::SetUp();
    countries = table("CountryList", "CountryList.db");
    units = table("VORLList", "VORLLIST.DB");
    units->setIndexName("CountryIndex");
    units->setMasterSource(&dsCountries);
    units->setMasterFields("CountryID");
    units->setFilter("Years<4600000000");
    units->setFiltered(true);
    subUnits = table("VORLList2", "Vorllist.DB");
    subUnits->setIndexName("LParentIndex");
    subUnits->setMasterSource(&dsUnits);
    subUnits->setMasterFields("Code");
    subUnits->setFilter("Years<4600000000");
    subUnits->setFiltered(true);
    subSubUnits = table("VORLList3", "vorllist");
    subSubUnits->setIndexName("LParentIndex");
    subSubUnits->setMasterSource(&dsSubUnits);
    subSubUnits->setMasterFields("Code");
    dsCountries.setDataset(countries.get());
    dsUnits.setDataset(units.get());
    dsSubUnits.setDataset(subUnits.get());
    countries->open();
    units->open();
    subUnits->open();
    subSubUnits->open();
  }

  std::unique_ptr<engine::Table> countries, units, subUnits, subSubUnits;
  DataSource dsCountries{"dsCountryList"};
  DataSource dsUnits{"dsVORLList"};
  DataSource dsSubUnits{"dsVORLList2"};
};

TEST_F(CascadeTest, MasterMovesCascadeThroughThreeLevels) {
  // CountryList in key order: BW, NA, ZA.
  EXPECT_EQ(countries->fieldByName("CountryID").asString(), "BW");
  EXPECT_TRUE(units->isEmpty());
  EXPECT_TRUE(subUnits->isEmpty());
  EXPECT_TRUE(subSubUnits->isEmpty());

  ASSERT_TRUE(countries->locate("CountryID", "ZA"));
  // Units of ZA in CountryIndex order (CountryID, Name, Code); "Old" is withdrawn.
  EXPECT_EQ(names(*units), (std::vector<std::string>{"Beaufort", "Blank", "Ecca", "Edge", "Karoo", "Prince Alb",
                                                     "Whitehill"}));
  ASSERT_TRUE(units->locate("Name", "Karoo"));
  EXPECT_EQ(names(*subUnits), (std::vector<std::string>{"Beaufort", "Blank", "Ecca", "Edge"}));
  ASSERT_TRUE(subUnits->locate("Name", "Ecca"));
  EXPECT_EQ(names(*subSubUnits), (std::vector<std::string>{"Prince Alb", "Whitehill"}));

  // Moving the top master empties the lower levels of units that are not in it.
  countries->first();
  EXPECT_TRUE(units->isEmpty());
  EXPECT_TRUE(subSubUnits->isEmpty());
}

TEST_F(CascadeTest, MoveReRangesEachDetailOnceAndDetailStartsOnFirstRow) {
  ASSERT_TRUE(countries->locate("CountryID", "ZA"));
  ASSERT_TRUE(units->locate("Name", "Karoo"));
  EventRecorder subUnitEvents(dsSubUnits);
  ASSERT_TRUE(units->locate("Name", "Ecca"));
  EXPECT_EQ(subUnitEvents.count(DataEvent::DataSetChanged), 1);
  EXPECT_EQ(subUnits->recNo(), 0u);
  EXPECT_EQ(subUnits->fieldByName("Name").asString(), "Prince Alb");
}

TEST_F(CascadeTest, ClosedMasterGivesEmptyDetail) {
  ASSERT_TRUE(countries->locate("CountryID", "ZA"));
  EXPECT_FALSE(units->isEmpty());
  countries->close();
  EXPECT_TRUE(units->active());
  EXPECT_TRUE(units->isEmpty());
  EXPECT_TRUE(subUnits->isEmpty());
}

TEST_F(CascadeTest, PostedLinkFieldEditMovesDependentView) {
  ASSERT_TRUE(countries->locate("CountryID", "ZA"));
  ASSERT_TRUE(units->locate("Name", "Ecca"));
  ASSERT_EQ(names(*subUnits), (std::vector<std::string>{"Prince Alb", "Whitehill"}));
  ASSERT_TRUE(subUnits->locate("Name", "Whitehill"));
  // Re-parent Whitehill under Karoo: the sub-unit view of Ecca loses it after the post.
  subUnits->edit();
  subUnits->fieldByName("LParent").setAsInteger(1);
  EXPECT_EQ(subUnits->recordCount(), 2u) << "no re-range while editing";
  subUnits->post();
  EXPECT_EQ(names(*subUnits), (std::vector<std::string>{"Prince Alb"}));
  // A posted link-field edit of the master re-ranges its details.
  ASSERT_TRUE(units->locate("Name", "Beaufort"));
  EXPECT_TRUE(subUnits->isEmpty());
  units->edit();
  units->fieldByName("Code").setAsInteger(30);
  units->post();
  EXPECT_TRUE(subUnits->isEmpty());
  ASSERT_TRUE(units->locate("Name", "Karoo"));
  EXPECT_EQ(names(*subUnits), (std::vector<std::string>{"Beaufort", "Blank", "Ecca", "Edge", "Whitehill"}));
}

TEST_F(CascadeTest, MasterPostKeepsDetailPlaceButMasterRefreshRereadsIt) {
  ASSERT_TRUE(countries->locate("CountryID", "ZA"));
  ASSERT_TRUE(units->locate("Name", "Karoo"));
  ASSERT_TRUE(subUnits->locate("Name", "Ecca"));
  // A post that leaves the link values alone (a date stamp) keeps the sub-unit where it stands.
  units->edit();
  units->fieldByName("DateModified").setAsString("2025-03-14");
  units->post();
  EXPECT_EQ(subUnits->fieldByName("Name").asString(), "Ecca");

  // A unit added through another dataset of the database shows at once, before the current row.
  engine::Table other(session, "Other");
  other.setDatabaseName("VORL");
  other.setTableName("VORLLIST.DB");
  other.open();
  other.append();
  other.fieldByName("Code").setAsInteger(40);
  other.fieldByName("Name").setAsString("Adelaide");
  other.fieldByName("LParent").setAsInteger(1);
  other.fieldByName("CountryID").setAsString("ZA");
  other.post();
  EXPECT_EQ(subUnits->fieldByName("Name").asString(), "Ecca");
  EXPECT_EQ(subUnits->recNo(), 3u);
  EXPECT_EQ(names(*subUnits), (std::vector<std::string>{"Adelaide", "Beaufort", "Blank", "Ecca", "Edge"}));
  // One added through another connection shows once the master is refreshed.
  runSql(directory.path(), "INSERT INTO VORLLIST (Code, Name, LParent, CountryID) VALUES (41, 'Zulu', 1, 'ZA')");
  EXPECT_EQ(subUnits->recordCount(), 5u);
  units->refresh();
  EXPECT_EQ(subUnits->recordCount(), 6u);
}

TEST_F(CascadeTest, FilterBoundHidesFromTheLimitUpAndKeepsEmptyYears) {
  ASSERT_TRUE(countries->locate("CountryID", "ZA"));
  ASSERT_TRUE(units->locate("Name", "Karoo"));
  const auto visible = names(*subUnits);
  EXPECT_EQ(std::count(visible.begin(), visible.end(), "Old"), 0) << "Years exactly 4,600,000,000 is hidden";
  EXPECT_EQ(std::count(visible.begin(), visible.end(), "Edge"), 1) << "4,599,999,999 is shown";
  EXPECT_EQ(std::count(visible.begin(), visible.end(), "Blank"), 1) << "an empty Years is shown";

  // An unfiltered view of the same table shows the withdrawn unit; so does switching the filter off.
  auto parent = table("VORLList0", "VORLLIST.DB");
  parent->setIndexName("UQCode");
  parent->open();
  ASSERT_TRUE(parent->locate("Code", "6"));
  EXPECT_EQ(parent->fieldByName("Name").asString(), "Old");
  subUnits->setFiltered(false);
  EXPECT_EQ(subUnits->recordCount(), 5u);
  subUnits->setFiltered(true);
  EXPECT_EQ(subUnits->recordCount(), 4u);
}

TEST_F(CascadeTest, LocateHonoursOptionsAndVisibleRowsOnly) {
  ASSERT_TRUE(countries->locate("CountryID", "ZA"));
  ASSERT_TRUE(units->locate("Name", "Ecca"));
  const auto before = units->recNo();

  EXPECT_FALSE(units->locate("Name", "karoo")) << "case matters without the option";
  EXPECT_EQ(units->recNo(), before);
  EXPECT_TRUE(units->locate("Name", "karoo", {.caseInsensitive = true}));
  EXPECT_EQ(units->fieldByName("Code").asInteger(), 1);

  EXPECT_FALSE(units->locate("Name", "Whi"));
  EXPECT_TRUE(units->locate("Name", "Whi", {.partialKey = true}));
  EXPECT_EQ(units->fieldByName("Name").asString(), "Whitehill");
  EXPECT_FALSE(units->locate("Name", "pri", {.partialKey = true}));
  EXPECT_TRUE(units->locate("Name", "pri", {.caseInsensitive = true, .partialKey = true}));
  EXPECT_EQ(units->fieldByName("Name").asString(), "Prince Alb");
  EXPECT_FALSE(units->locate("Name", "%", {.caseInsensitive = true, .partialKey = true})) << "wildcards are data";

  const auto here = units->recNo();
  EXPECT_FALSE(units->locate("Name", "Old")) << "withdrawn by the filter";
  EXPECT_FALSE(units->locate("Name", "Nama")) << "another country's unit";
  EXPECT_FALSE(units->locate("Code", "abc")) << "a bad number matches nothing";
  EXPECT_EQ(units->recNo(), here);

  EXPECT_TRUE(units->locate("Years", ""));
  EXPECT_EQ(units->fieldByName("Name").asString(), "Blank");
  EXPECT_TRUE(units->locate("CountryID;Code", std::vector<std::string>{"ZA", "3"}));
  EXPECT_EQ(units->fieldByName("Name").asString(), "Beaufort");
  EXPECT_THROW(units->locate("Nonsense", "1"), engine::EngineError);
}

TEST_F(CascadeTest, CaseInsensitiveLocateFindsFirstRowInOrderAcrossCaseVariants) {
  runSql(directory.path(),
         "INSERT INTO VORLLIST (Years, Code, Name, CountryID) VALUES (1,20,'kar one','BW'),(1,21,'KARL','BW'),"
         "(4.7e9,22,'Kaross','BW'),(1,23,'Kbx','BW'),(1,24,'kAz','BW'),(1,25,'Karoo','BW'),(NULL,26,'ka','BW');");
  ASSERT_TRUE(countries->locate("CountryID", "BW"));
  units->refresh();  // rows added through another connection
  // In byte order: KARL, Karoo, (Kaross withdrawn), Kbx, kAz, ka, kar one.
  ASSERT_EQ(names(*units), (std::vector<std::string>{"KARL", "Karoo", "Kbx", "kAz", "ka", "kar one"}));
  const engine::LocateOptions prefix{.caseInsensitive = true, .partialKey = true};
  const struct {
    const char* text;
    bool partial;
    const char* found;
  } cases[] = {{"kar", true, "KARL"},   {"karo", true, "Karoo"}, {"KA", true, "KARL"},     {"kaz", true, "kAz"},
               {"kb", true, "Kbx"},     {"ka", false, "ka"},     {"KAR ONE", false, "kar one"}, {"kar o", true, "kar one"}};
  for (const auto& test : cases) {
    units->last();
    EXPECT_TRUE(units->locate("Name", test.text, {.caseInsensitive = true, .partialKey = test.partial})) << test.text;
    EXPECT_EQ(units->fieldByName("Name").asString(), test.found) << test.text;
  }
  for (const char* text : {"karos", "kc", "a", "kar onex", "~"}) {
    EXPECT_FALSE(units->locate("Name", text, prefix)) << text;
  }
  EXPECT_FALSE(units->locate("Name", "kar", {.caseInsensitive = true})) << "exact match needs the whole name";
}

TEST_F(CascadeTest, NavigationSetsBofAndEof) {
  ASSERT_TRUE(countries->locate("CountryID", "ZA"));
  ASSERT_TRUE(units->locate("Name", "Karoo"));
  subUnits->first();
  EXPECT_TRUE(subUnits->bof());
  EXPECT_FALSE(subUnits->eof());
  subUnits->prior();
  EXPECT_TRUE(subUnits->bof());
  EXPECT_EQ(subUnits->recNo(), 0u);
  subUnits->last();
  EXPECT_TRUE(subUnits->eof());
  EXPECT_EQ(subUnits->recNo(), 3u);
  subUnits->next();
  EXPECT_EQ(subUnits->recNo(), 3u);
  subUnits->moveBy(-2);
  EXPECT_EQ(subUnits->fieldByName("Name").asString(), "Blank");
  subUnits->moveBy(-5);
  EXPECT_TRUE(subUnits->bof());
  EXPECT_EQ(subUnits->recNo(), 0u);
  subUnits->moveTo(2);
  EXPECT_EQ(subUnits->rowAt(2)[subUnits->fieldByName("Name").index()], engine::Value{std::string("Ecca")});
  EXPECT_EQ(subUnits->fieldByName("Name").asString(), "Ecca");
}

TEST_F(LexiconTest, TableNamesIgnoreCaseAndExtension) {
  for (const auto* name : {"VORLLIST.DB", "Vorllist.db", "vorllist"}) {
    auto units = table("Units", name);
    units->open();
    EXPECT_EQ(units->recordCount(), 9u) << name;
  }
  auto missing = table("Missing", "Nothing.DB");
  try {
    missing->open();
    FAIL() << "opened a missing table";
  } catch (const engine::EngineError& error) {
    EXPECT_EQ(error.code(), engine::code::TableNotFound);
    EXPECT_NE(std::string(error.what()).find("Nothing"), std::string::npos);
  }
  EXPECT_FALSE(missing->active());
}

TEST_F(LexiconTest, PersistentFieldsExistWhileClosedAndMustMatchColumns) {
  auto units = table("VORLList0", "VORLLIST.DB");
  units->setFieldDefs({{"Years", engine::FieldType::Float}, {"Code", engine::FieldType::Integer},
                       {"Name", engine::FieldType::String, 10}});
  EXPECT_EQ(units->fieldByName("Years").name(), "VORLList0Years");
  EXPECT_TRUE(units->fieldByName("Name").isNull());
  units->setIndexName("UQCode");
  units->open();
  EXPECT_EQ(units->fields().size(), 3u);
  EXPECT_EQ(units->fieldByName("Code").asInteger(), 1);

  auto wrong = table("Wrong", "VORLLIST.DB");
  wrong->setFieldDefs({{"Code", engine::FieldType::Integer}, {"Missing", engine::FieldType::String, 5}});
  try {
    wrong->open();
    FAIL() << "opened with a field the table lacks";
  } catch (const engine::EngineError& error) {
    EXPECT_EQ(error.code(), engine::code::FieldNotFound);
    EXPECT_NE(std::string(error.what()).find("Missing"), std::string::npos);
    EXPECT_NE(std::string(error.what()).find("Wrong"), std::string::npos);
  }
}

TEST_F(LexiconTest, UnknownIndexAndBadFilterAreErrorsNamingTheDataset) {
  auto units = table("VORLList", "VORLLIST.DB");
  units->setIndexName("NoSuchIndex");
  EXPECT_THROW(units->open(), engine::EngineError);
  units->setIndexName("CountryIndex");
  units->setFilter("Years<<4");
  units->setFiltered(true);
  try {
    units->open();
    FAIL() << "opened with a bad filter";
  } catch (const engine::EngineError& error) {
    EXPECT_NE(std::string(error.what()).find("VORLList"), std::string::npos);
  }
  units->setFilter("Name='Ecca' or (Code>=5 and not Code=7)");
  units->open();
  EXPECT_EQ(names(*units), (std::vector<std::string>{"Nama", "Blank", "Ecca", "Old", "Whitehill"}));
  units->setFilter("Name = 'O''Brien'");
  EXPECT_TRUE(units->isEmpty()) << "a quote inside a constant is data";
}

}  // namespace
}  // namespace engine_test
