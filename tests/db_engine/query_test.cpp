// Queries: parameters bound from a data source, re-runs, Prepare, live results.
#include "engine_fixture.h"

namespace engine_test {
namespace {

using engine::FieldType;

class AreaQueryTest : public LexiconTest {
 protected:
  void SetUp() override {
    LexiconTest::SetUp();
    units = table("VORLList", "VORLLIST.DB");
    units->setIndexName("UQCode");
    dsUnits.setDataset(units.get());
    units->open();
    area.setDatabaseName("VORL");
    area.setSql({"select * from vorllist,codearea", "where vorllist.LParent=:Code", "and vorllist.Code=codearea.Code",
                 "and codearea.Area=:AreaID", "order by Years"});
    area.declareParam({"Code", FieldType::Integer, {}});
    area.declareParam({"AreaID", FieldType::String, std::string("1")});
    area.setDataSource(&dsUnits);
    area.setRequestLive(true);
  }

  std::vector<std::string> areaNames() {
    std::vector<std::string> result;
    for (area.first(); !area.eof(); area.next()) result.push_back(area.fieldByName("Name").asString());
    return result;
  }

  std::unique_ptr<engine::Table> units;
  engine::DataSource dsUnits{"dsVORLList"};
  engine::Query area{session, "QArea1"};
};

TEST_F(AreaQueryTest, ParametersFollowTheSourceAndReRunOnMoves) {
  ASSERT_EQ(area.params().size(), 2u);
  EXPECT_EQ(area.params()[0].name, "Code");
  ASSERT_TRUE(units->locate("Code", "2"));
  area.open();
  // Sub-units of Ecca in area 1, ascending Years; no Years bound here.
  EXPECT_EQ(areaNames(), (std::vector<std::string>{"Whitehill", "Prince Alb"}));
  area.first();
  EXPECT_EQ(area.fieldByName("Area").asString(), "1");
  EXPECT_EQ(area.fieldByName("Code_1").asInteger(), 5) << "the second Code column is renamed";
  area.next();

  ASSERT_TRUE(units->locate("Code", "1"));
  EXPECT_EQ(area.recNo(), 0u) << "a re-run starts on the first row";
  EXPECT_EQ(areaNames(), (std::vector<std::string>{"Beaufort", "Old"}));
  ASSERT_TRUE(units->locate("Code", "10"));
  EXPECT_TRUE(area.isEmpty());

  ASSERT_TRUE(units->locate("Code", "2"));
  area.close();
  area.paramByName("AreaID").setAsString("2");
  area.open();
  EXPECT_EQ(areaNames(), (std::vector<std::string>{"Whitehill"}));
}

TEST_F(AreaQueryTest, TwoTableResultIsReadOnlyAndPrepareIsRefusedWhileOpen) {
  area.prepare();
  EXPECT_TRUE(area.prepared());
  area.open();
  EXPECT_FALSE(area.canModify());
  EXPECT_THROW(area.edit(), engine::EngineError);
  try {
    area.prepare();
    FAIL() << "prepared an open query";
  } catch (const engine::EngineError& error) {
    EXPECT_EQ(error.code(), engine::code::DatasetOpen);
  }
  area.close();
  area.prepare();
  area.setSql({"select * from nosuchtable"});
  EXPECT_FALSE(area.prepared());
  try {
    area.open();
    FAIL() << "ran SQL naming a missing table";
  } catch (const engine::EngineError& error) {
    EXPECT_EQ(error.code(), engine::code::SqlError);
    EXPECT_NE(std::string(error.what()).find("QArea1"), std::string::npos);
  }
}

TEST_F(LexiconTest, ParameterTextIsNeverSpliced) {
  engine::Query query(session, "Querydm");
  query.setDatabaseName("VORL");
  query.setSql({"select Name from vorllist where Name = :Name"});
  query.paramByName("Name").setAsString("x' or '1'='1");
  query.open();
  EXPECT_TRUE(query.isEmpty());
  query.close();
  query.paramByName("Name").setAsString("Ecca");
  query.open();
  EXPECT_EQ(query.recordCount(), 1u);
  EXPECT_THROW(query.paramByName("Missing"), engine::EngineError);
}

TEST_F(LexiconTest, LiveSingleTableResultWritesBackByKey) {
  engine::Query query(session, "QRank");
  query.setDatabaseName("VORL");
  query.setSql({"select RankAbr, Rank from Rank order by RankAbr"});
  query.setRequestLive(true);
  query.open();
  ASSERT_TRUE(query.canModify());
  ASSERT_TRUE(query.locate("RankAbr", "Mb"));
  query.edit();
  query.fieldByName("Rank").setAsString("Member unit");
  query.post();
  EXPECT_EQ(query.fieldByName("RankAbr").asString(), "Mb");
  query.append();
  query.fieldByName("RankAbr").setAsString("Bd");
  query.fieldByName("Rank").setAsString("Bed");
  query.post();
  EXPECT_EQ(query.fieldByName("Rank").asString(), "Bed") << "stays on the posted row";
  EXPECT_EQ(query.recNo(), 0u);

  auto ranks = table("Rank", "Rank.DB");
  ranks->open();
  ASSERT_TRUE(ranks->locate("RankAbr", "Mb"));
  EXPECT_EQ(ranks->fieldByName("Rank").asString(), "Member unit");
  EXPECT_EQ(ranks->recordCount(), 5u);

  engine::Query noKey(session, "QNoKey");
  noKey.setDatabaseName("VORL");
  noKey.setSql({"select Rank from Rank"});
  noKey.setRequestLive(true);
  noKey.open();
  EXPECT_FALSE(noKey.canModify()) << "the key is not in the result";
}

TEST_F(LexiconTest, QueryFilterAndLocateWorkOnTheResult) {
  engine::Query query(session, "QUnits");
  query.setDatabaseName("VORL");
  query.setSql({"select Name, Years, Years / 1e6 as Ma from vorllist order by Code"});
  query.setFilter("Years<4600000000");
  query.setFiltered(true);
  query.open();
  EXPECT_EQ(query.recordCount(), 8u) << "the withdrawn unit is hidden, the empty Years is not";
  EXPECT_EQ(query.fieldByName("Ma").dataType(), FieldType::Float);
  EXPECT_FALSE(query.locate("Name", "Old"));
  EXPECT_TRUE(query.locate("Name", "NAM", {.caseInsensitive = true, .partialKey = true}));
  EXPECT_EQ(query.fieldByName("Ma").displayText(), "540");
}

}  // namespace
}  // namespace engine_test
