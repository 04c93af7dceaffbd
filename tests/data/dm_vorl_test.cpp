// The unit data module on a real lexicon: the browsing cascade, the Years bound, the parent lookup,
// the area queries, read-only views, the start-up order and the rules a geologist's edits meet.
#include "data/dm_vorl.h"

#include <gtest/gtest.h>

#include "data/lexicon_schema.h"
#include "db_engine/errors.h"
#include "test_databases.h"

namespace {

constexpr const char* kLexiconRows = R"(
INSERT INTO CountryList VALUES ('ZA','South Africa'), ('NA','Namibia'), ('BW','Botswana');
INSERT INTO Rank VALUES ('SGp','Supergroup'), ('Gp','Group'), ('Fm','Formation'), ('Mbr','Member');
INSERT INTO VORLSTAT VALUES ('Formal','F'), ('Informal','I');
INSERT INTO CHRONO VALUES (1,'Permian','Period',0,0), (2,'Carboniferous','Period',0,0);
INSERT INTO VORLWhen VALUES ('Data last updated: 14 March 2025');
INSERT INTO AreaList VALUES ('1','Main Karoo Basin'), ('2','Cape Fold Belt');
INSERT INTO VORLLIST (Years, Code, Name, Rank, LParent, CParent, Status, CountryID) VALUES
  (300000000, 100, 'Karoo Supergroup', 'SGp', 0, 1, 'F', 'ZA'),
  (280000000, 110, 'Ecca Group', 'Gp', 100, 1, 'F', 'ZA'),
  (4600000000, 120, 'Dwyka Group', 'Gp', 100, 2, 'F', 'ZA'),
  (299000000, 121, 'Elandsvlei Formation', 'Fm', 120, 2, 'F', 'ZA'),
  (285000000, 111, 'Prince Albert Formation', 'Fm', 110, 1, 'F', 'ZA'),
  (4599999999, 112, 'Whitehill Formation', 'Fm', 110, 1, 'I', 'ZA'),
  (4600000000, 113, 'Collingham Formation', 'Fm', 110, 1, 'F', 'ZA'),
  (270000000, 114, 'Vryheid Formation', 'Fm', 110, 1, 'F', 'ZA'),
  (285500000, 115, 'Matjiesfontein Member', 'Mbr', 111, 1, 'F', 'ZA'),
  (4600000001, 116, 'Hidden Member', 'Mbr', 111, 1, 'F', 'ZA'),
  (250000000, 130, 'Molteno Formation', 'Fm', 999, 1, 'F', 'ZA'),
  (300000000, 200, 'Dwyka Group', 'Gp', 0, 2, 'F', 'NA');
INSERT INTO CodeArea VALUES (111,'1'), (114,'1'), (113,'1'), (114,'2'), (112,'2'), (110,'1'), (120,'1');
INSERT INTO SynonList VALUES ('Ecca Series', 'Series', 110);
INSERT INTO Correlatives VALUES (200, 120), (110, 200), (110, 555);
)";

// The values of one field over every row of the dataset's range, without moving its cursor.
std::vector<std::string> column(const engine::Dataset& dataset, std::string_view fieldName) {
  const engine::Field& field = dataset.fieldByName(fieldName);
  std::vector<std::string> values;
  for (std::size_t row = 0; row < dataset.recordCount(); ++row) {
    values.push_back(field.format(dataset.rowAt(row)[field.index()], false));
  }
  return values;
}

std::string text(const engine::Dataset& dataset, std::string_view fieldName) {
  return dataset.fieldByName(fieldName).asString();
}

int engineCode(const std::function<void()>& operation) {
  try {
    operation();
  } catch (const engine::EngineError& error) {
    return error.code();
  }
  return 0;
}

class DmVorlTest : public ::testing::Test {
 protected:
  DmVorlTest() {
    databases.create("VORL", data::lexiconSchema(), "pluvek");
    databases.session.addPassword("pluvek");
    databases.execute("VORL", kLexiconRows);
  }

  void openAndChooseEcca() {
    dmVORL.openStartupDatasets();
    ASSERT_TRUE(dmVORL.CountryList.locate("CountryID", std::string("ZA")));
    ASSERT_TRUE(dmVORL.VORLList.locate("Name", std::string("Ecca Group")));
  }

  data_test::TestDatabases databases;
  data::TdmVORL dmVORL{databases.session};
};

TEST_F(DmVorlTest, CascadeFollowsCountryUnitAndSubUnit) {
  openAndChooseEcca();
  EXPECT_EQ(column(dmVORL.VORLList, "Name"),
            (std::vector<std::string>{"Ecca Group", "Elandsvlei Formation", "Karoo Supergroup", "Matjiesfontein Member",
                                      "Molteno Formation", "Prince Albert Formation", "Vryheid Formation",
                                      "Whitehill Formation"}));
  EXPECT_EQ(column(dmVORL.VORLList2, "Name"),
            (std::vector<std::string>{"Prince Albert Formation", "Vryheid Formation", "Whitehill Formation"}));
  EXPECT_EQ(column(dmVORL.VORLList3, "Name"), std::vector<std::string>{"Matjiesfontein Member"});
  EXPECT_EQ(text(dmVORL.VORLList0, "Name"), "Karoo Supergroup");
  EXPECT_EQ(text(dmVORL.Rank0, "Rank"), "Supergroup");
  EXPECT_EQ(text(dmVORL.Rank, "Rank"), "Group");
  EXPECT_EQ(text(dmVORL.Status, "Status"), "Formal");
  EXPECT_EQ(text(dmVORL.Chrono, "UNIT"), "Permian");
  EXPECT_EQ(column(dmVORL.CodeArea, "Area"), std::vector<std::string>{"1"});
  EXPECT_EQ(text(dmVORL.AreaList, "AreaName"), "Main Karoo Basin");
  EXPECT_EQ(text(dmVORL.SynonList, "SynonymName"), "Ecca Series");
  EXPECT_EQ(text(dmVORL.WhenUpdated, "Comment"), "Data last updated: 14 March 2025");

  // The correlatives: one of another country, one whose code names no unit.
  EXPECT_EQ(text(dmVORL.CorrelList, "Name"), "Dwyka Group");
  EXPECT_EQ(text(dmVORL.CorrelList, "CountryID"), "NA");
  dmVORL.CorrelCtry.open();
  EXPECT_EQ(text(dmVORL.CorrelCtry, "CountryName"), "Namibia");
  dmVORL.Correlatives.next();
  EXPECT_TRUE(dmVORL.CorrelList.isEmpty());
  EXPECT_TRUE(dmVORL.CorrelCtry.isEmpty());

  // The sub-unit's own chain follows the sub-unit.
  ASSERT_TRUE(dmVORL.VORLList2.locate("Code", std::string("114")));
  EXPECT_EQ(column(dmVORL.CodeArea2, "Area"), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(text(dmVORL.AreaListL2, "AreaName"), "Main Karoo Basin");
  EXPECT_TRUE(dmVORL.VORLList3.isEmpty());

  // A country without units empties the whole cascade.
  ASSERT_TRUE(dmVORL.CountryList.locate("CountryID", std::string("BW")));
  for (engine::Dataset* view : {static_cast<engine::Dataset*>(&dmVORL.VORLList), static_cast<engine::Dataset*>(&dmVORL.VORLList2),
                                static_cast<engine::Dataset*>(&dmVORL.VORLList3), static_cast<engine::Dataset*>(&dmVORL.VORLList0),
                                static_cast<engine::Dataset*>(&dmVORL.Status), static_cast<engine::Dataset*>(&dmVORL.Chrono),
                                static_cast<engine::Dataset*>(&dmVORL.Rank)}) {
    EXPECT_TRUE(view->isEmpty()) << view->name();
  }
}

TEST_F(DmVorlTest, ParentLookupShowsWithdrawnParentAndNothingForMissingOne) {
  openAndChooseEcca();
  ASSERT_TRUE(dmVORL.VORLList.locate("Name", std::string("Elandsvlei Formation")));
  EXPECT_EQ(text(dmVORL.VORLList0, "Name"), "Dwyka Group");
  EXPECT_EQ(text(dmVORL.VORLList0, "Years"), "4600000000");
  EXPECT_EQ(text(dmVORL.Rank0, "Rank"), "Group");

  ASSERT_TRUE(dmVORL.VORLList.locate("Name", std::string("Molteno Formation")));
  EXPECT_TRUE(dmVORL.VORLList0.isEmpty());
  EXPECT_TRUE(dmVORL.Rank0.isEmpty());
  ASSERT_TRUE(dmVORL.VORLList.locate("Name", std::string("Karoo Supergroup")));
  EXPECT_TRUE(dmVORL.VORLList0.isEmpty());
}

TEST_F(DmVorlTest, YearsBoundHidesOnlyFromTheBrowsingViews) {
  openAndChooseEcca();
  EXPECT_EQ(dmVORL.VORLList.filter(), "Years<4600000000");
  EXPECT_FALSE(dmVORL.VORLList.locate("Name", std::string("Dwyka Group")));
  EXPECT_EQ(text(dmVORL.VORLList, "Name"), "Ecca Group");  // a miss leaves the cursor
  ASSERT_TRUE(dmVORL.VORLList2.locate("Code", std::string("112")));  // 4,599,999,999 is shown
  EXPECT_FALSE(dmVORL.VORLList2.locate("Code", std::string("113")));

  // Correlatives ignore the bound: the Namibian Dwyka's correlative is the withdrawn one.
  ASSERT_TRUE(dmVORL.CountryList.locate("CountryID", std::string("NA")));
  EXPECT_EQ(text(dmVORL.CorrelList, "Code"), "120");
  EXPECT_EQ(text(dmVORL.CorrelList, "Years"), "4600000000");
}

TEST_F(DmVorlTest, AreaQueryListsSubUnitsOfAnAreaByYearsAndFollowsTheUnit) {
  openAndChooseEcca();
  for (engine::Query* query : {&dmVORL.QArea1, &dmVORL.QArea2, &dmVORL.QArea3}) {
    EXPECT_EQ(query->sql().size(), 5u);
    EXPECT_EQ(query->paramByName("AreaID").value, engine::Value(std::string("1")));
  }
  dmVORL.QArea1.open();
  EXPECT_EQ(column(dmVORL.QArea1, "Name"),
            (std::vector<std::string>{"Vryheid Formation", "Prince Albert Formation", "Collingham Formation"}));
  EXPECT_EQ(dmVORL.QArea1.fields().size(), 8u);

  dmVORL.QArea2.paramByName("AreaID").setAsString("2");
  dmVORL.QArea2.open();
  EXPECT_EQ(column(dmVORL.QArea2, "Name"), (std::vector<std::string>{"Vryheid Formation", "Whitehill Formation"}));

  ASSERT_TRUE(dmVORL.VORLList.locate("Name", std::string("Karoo Supergroup")));
  EXPECT_EQ(column(dmVORL.QArea1, "Name"), (std::vector<std::string>{"Ecca Group", "Dwyka Group"}));
  EXPECT_TRUE(dmVORL.QArea2.isEmpty());

  dmVORL.QArea3.close();
  dmVORL.QArea3.paramByName("AreaID").setAsString("1' or '1'='1");
  dmVORL.QArea3.open();
  EXPECT_TRUE(dmVORL.QArea3.isEmpty());
}

TEST_F(DmVorlTest, ReadOnlyViewsRefuseEditsOthersAccept) {
  openAndChooseEcca();
  for (engine::Dataset* view : {static_cast<engine::Dataset*>(&dmVORL.VORLList0), static_cast<engine::Dataset*>(&dmVORL.Status),
                                static_cast<engine::Dataset*>(&dmVORL.Chrono)}) {
    EXPECT_EQ(engineCode([&] { view->edit(); }), engine::code::ReadOnly) << view->name();
  }
  dmVORL.Rank.edit();
  dmVORL.Rank.fieldByName("Rank").setAsString("Group (litho)");
  dmVORL.Rank.post();
  EXPECT_EQ(text(dmVORL.Rank, "Rank"), "Group (litho)");
}

TEST_F(DmVorlTest, StartupOpensInOrderAndStopsAtTheFirstFailure) {
  struct OpenRecorder : engine::DataLink {
    OpenRecorder(engine::DataSource& source, std::vector<std::string>& opened) : source(source), opened(opened) {
      source.addLink(this);
    }
    ~OpenRecorder() override { source.removeLink(this); }
    void dataEvent(engine::DataEvent event, const engine::Field*) override {
      if (event == engine::DataEvent::ActiveChanged && source.dataset()->active()) opened.push_back(source.dataset()->name());
    }
    engine::DataSource& source;
    std::vector<std::string>& opened;
  };
  std::vector<std::string> opened;
  std::vector<std::unique_ptr<OpenRecorder>> recorders;
  for (engine::Dataset* dataset : dmVORL.datasets()) {
    recorders.push_back(std::make_unique<OpenRecorder>(dmVORL.dataSource("ds" + dataset->name()), opened));
  }
  dmVORL.openStartupDatasets();
  EXPECT_EQ(opened, std::vector<std::string>(dmVORL.startupOrder.begin(), dmVORL.startupOrder.end()));
  EXPECT_FALSE(dmVORL.CorrelCtry.active());
  EXPECT_FALSE(dmVORL.QArea1.active());

  databases.execute("VORL", "DROP TABLE Rank");
  data::TdmVORL broken(databases.session);
  EXPECT_THROW(broken.openStartupDatasets(), engine::EngineError);
  EXPECT_TRUE(broken.WhenUpdated.active());
  EXPECT_FALSE(broken.Rank.active());
  EXPECT_FALSE(broken.Rank0.active());
  EXPECT_FALSE(broken.CorrelList2.active());
}

TEST_F(DmVorlTest, WithoutThePasswordNothingOpens) {
  engine::Session stranger("Stranger");
  stranger.setAlias("VORL", *databases.session.aliasDirectory("VORL"));
  data::TdmVORL module(stranger);
  EXPECT_EQ(engineCode([&] { module.openStartupDatasets(); }), engine::code::PasswordRequired);
  for (engine::Dataset* dataset : module.datasets()) EXPECT_FALSE(dataset->active()) << dataset->name();
}

TEST_F(DmVorlTest, GeologistAddsUnitAreaOccurrenceSynonymAndCorrelative) {
  openAndChooseEcca();
  dmVORL.VORLList.append();
  dmVORL.field("VORLListCode").setAsInteger(140);
  dmVORL.field("VORLListName").setAsString("Beaufort Group");
  dmVORL.field("VORLListRank").setAsString("Gp");
  dmVORL.field("VORLListLParent").setAsInteger(100);
  dmVORL.field("VORLListYears").setAsFloat(260000000);
  dmVORL.VORLList.post();
  EXPECT_EQ(text(dmVORL.VORLList, "CountryID"), "ZA");

  dmVORL.AreaList1.append();
  dmVORL.field("AreaList1AreaID").setAsString("3");
  dmVORL.field("AreaList1AreaName").setAsString("Tuli Basin");
  dmVORL.AreaList1.post();

  for (const auto& [dataset, field, value] : {std::tuple{"CodeArea", "Area", "3"},
                                              std::tuple{"SynonList", "SynonymName", "Beaufort Series"},
                                              std::tuple{"Correlatives", "Correlative", "777"}}) {
    engine::Dataset& detail = dmVORL.dataset(dataset);
    detail.append();
    detail.fieldByName(field).setAsString(value);
    detail.post();
    EXPECT_EQ(text(detail, "Code"), "140") << dataset;
  }
  EXPECT_EQ(text(dmVORL.AreaList, "AreaName"), "Tuli Basin");
  EXPECT_EQ(column(dmVORL.Correlatives, "Correlative"), std::vector<std::string>{"777"});
}

TEST_F(DmVorlTest, UnitTableRulesRefuseWithTheirCodes) {
  openAndChooseEcca();
  ASSERT_TRUE(dmVORL.VORLList.locate("Name", std::string("Molteno Formation")));  // a unit without details
  const auto post = [&](const std::function<void()>& change) {
    return engineCode([&] {
      dmVORL.VORLList.edit();
      change();
      dmVORL.VORLList.post();
    });
  };
  EXPECT_EQ(post([&] { dmVORL.field("VORLListCode").setAsInteger(100); }), engine::code::KeyViolation);
  dmVORL.VORLList.cancel();
  EXPECT_EQ(post([&] { dmVORL.field("VORLListName").clear(); }), engine::code::RequiredField);
  dmVORL.VORLList.cancel();
  EXPECT_EQ(post([&] { dmVORL.field("VORLListYears").setAsFloat(-1); }), engine::code::MinimumValue);
  dmVORL.VORLList.cancel();
  EXPECT_EQ(post([&] {
              dmVORL.field("VORLListAgeMinimum").setAsFloat(300);
              dmVORL.field("VORLListAgeMaximum").setAsFloat(250);
            }),
            engine::code::Integrity);
  dmVORL.VORLList.cancel();
  EXPECT_EQ(post([&] { dmVORL.field("VORLListRank").setAsString("Xx"); }), engine::code::LookupValue);
  dmVORL.VORLList.cancel();
  EXPECT_EQ(post([&] { dmVORL.field("VORLListCountryID").setAsString("QQ"); }), engine::code::MasterMissing);
  dmVORL.VORLList.cancel();
  EXPECT_EQ(engineCode([&] { dmVORL.CountryList.deleteRecord(); }), engine::code::DetailsExist);
  // No rule on the parent: 0 and codes that name no unit are stored.
  EXPECT_EQ(post([&] { dmVORL.field("VORLListLParent").setAsInteger(31337); }), 0);
}

}  // namespace
