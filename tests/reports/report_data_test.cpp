// The report module on a real lexicon: which units the root query and the unit levels give, the
// area queries, repeated runs, and the connections it registers.
#include "report_fixture.h"

namespace reports_test {
namespace {

using Root = reports::TReportData::Root;

Codes codes(engine::Dataset& dataset) {
  Codes result;
  for (dataset.first(); !dataset.eof(); dataset.next()) result.push_back(dataset.fieldByName("Code").asInteger());
  return result;
}

TEST_F(ReportDataTest, TopLevelRootHasUnitsWithoutParentBelowTheBound) {
  reports::TReportData report(databases.session, dsVORLList);
  report.open(Root::TopLevel);
  // 101 is at the bound, 103 has no parent recorded, 104 names a parent that does not exist.
  EXPECT_EQ(codes(report.ReportQuery1), (Codes{100, 102}));
}

TEST_F(ReportDataTest, CurrentUnitRootFollowsTheMainWindowsUnit) {
  chooseUnit("110");
  reports::TReportData report(databases.session, dsVORLList);
  report.open(Root::CurrentUnit);
  EXPECT_EQ(codes(report.ReportQuery1), (Codes{110}));
  ASSERT_TRUE(units.locate("Code", std::string("102")));
  EXPECT_EQ(codes(report.ReportQuery1), (Codes{102})) << "just below the bound";
  ASSERT_TRUE(units.locate("Code", std::string("101")));
  EXPECT_TRUE(report.ReportQuery1.isEmpty()) << "at the bound";
}

TEST_F(ReportDataTest, NoCurrentUnitGivesNoRoot) {
  reports::TReportData report(databases.session, dsVORLList);
  report.open(Root::CurrentUnit);
  EXPECT_TRUE(report.ReportQuery1.isEmpty()) << "unit view closed";
  report.closeAfterRun();

  units.setFilter("Code=5");
  units.setFiltered(true);
  units.open();
  ASSERT_TRUE(units.isEmpty());
  report.open(Root::CurrentUnit);
  EXPECT_TRUE(report.ReportQuery1.isEmpty()) << "unit view empty";
}

TEST_F(ReportDataTest, UnitLevelsHoldEveryUnitBelowTheBound) {
  reports::TReportData report(databases.session, dsVORLList);
  report.open(Root::TopLevel);
  for (engine::Table* level : {&report.tVORLList2, &report.tVORLList3, &report.tVORLList4, &report.tVORLList5}) {
    EXPECT_EQ(codes(*level), (Codes{100, 102, 103, 104, 110, 111})) << level->name();
    EXPECT_EQ(level->fields().size(), 18u);
  }
}

TEST_F(ReportDataTest, AreaQueriesJoinOccurrencesWithAreaNames) {
  reports::TReportData report(databases.session, dsVORLList);
  report.open(Root::TopLevel);
  for (engine::Query* areas : {&report.tQCodeArea, &report.tQCodeArea2, &report.tQCodeArea5}) {
    ASSERT_EQ(areas->fields().size(), 3u);
    EXPECT_EQ(codes(*areas), (Codes{100, 110, 111})) << areas->name();
    areas->first();
    EXPECT_EQ(areas->fieldByName("AreaName").asString(), "Main Karoo Basin");
  }
  EXPECT_EQ(report.tAreaList.recordCount(), 2u);
}

TEST_F(ReportDataTest, RunsOneAfterAnother) {
  chooseUnit("111");
  reports::TReportData report(databases.session, dsVORLList);
  report.open(Root::TopLevel);
  report.closeAfterRun();
  for (engine::Dataset* closed : std::initializer_list<engine::Dataset*>{
           &report.tVORLList2, &report.tVORLList3, &report.tVORLList4, &report.tVORLList5, &report.ReportQuery1}) {
    EXPECT_FALSE(closed->active()) << closed->name();
  }
  ASSERT_TRUE(report.tQCodeArea.active()) << "the area queries stay open between runs";
  report.open(Root::CurrentUnit);
  EXPECT_EQ(codes(report.ReportQuery1), (Codes{111}));
  EXPECT_EQ(report.tQCodeArea.recordCount(), 3u);
}

TEST_F(ReportDataTest, ConnectionsLiveAsLongAsTheModule) {
  const std::vector<QString> names{"RPQueryConnection1", "RPdscList2",     "RPdscList3",     "RPdscList4",
                                   "RPdscList5",         "RPdscCodeArea",  "RPdscCodeArea2", "RPdscCodeArea3",
                                   "RPdscCodeArea4",     "RPdscCodeArea5", "RPdscAreaList"};
  {
    reports::TReportData report(databases.session, dsVORLList);
    for (const QString& name : names) {
      const reporting::DataConnection* found = reporting::connections().find(name);
      ASSERT_NE(found, nullptr) << name.toStdString();
    }
    EXPECT_EQ(reporting::connections().find("rpdsclist2"), &report.RPdscList2);
    EXPECT_EQ(&report.RPdscAreaList.dataset(), &report.tAreaList);
  }
  for (const QString& name : names) EXPECT_EQ(reporting::connections().find(name), nullptr) << name.toStdString();
}

}  // namespace
}  // namespace reports_test
