// Moving through the unit hierarchy (find box, parent and sub-unit double-clicks) and the opening
// and closing of detail datasets as tabs are shown.
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "app/page_control.h"
#include "app_test_support.h"
#include "ui/data_controls.h"

namespace apptest {
namespace {

class BrowsingTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    configuration = smallDatabases();
    createProgram(configuration);
    showWindow();
  }
  void type(const QString& text) { find<QLineEdit>("eLocate")->setText(text); }
  void goTo(int code) { ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(code))); }
  int subUnitCode() const { return static_cast<int>(dmVORL->VORLList2.fieldByName("Code").asInteger()); }
  void doubleClickParent() { QTest::mouseDClick(find<ui::DataEdit>("dbeParentUnit"), Qt::LeftButton); }
  // A double-click on the grid's current row.
  void doubleClickGrid(const char* name, const engine::Dataset& dataset) {
    auto* grid = find<ui::DataGrid>(name);
    const QRect cell = grid->visualRect(grid->model()->index(static_cast<int>(dataset.recNo()), 0));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  }
  bool open(const char* name) const { return dmVORL->dataset(name).active(); }

  std::string configuration;
};

TEST_F(BrowsingTest, FindMovesToTheFirstUnitBeginningWithTheTextInEitherCase) {
  type("el");
  EXPECT_EQ(currentCode(), unit::Elandsvlei);
  type("");
  type("EL");
  EXPECT_EQ(currentCode(), unit::Elandsvlei);
  type("E");
  EXPECT_EQ(currentCode(), unit::Ecca);
  type("Ec");
  type("Ecx");  // a miss leaves the unit where it is
  EXPECT_EQ(currentCode(), unit::Ecca);
  type("Nama");  // a unit of another country is not in the view
  EXPECT_EQ(currentCode(), unit::Ecca);
  type("Ecca S");  // withdrawn
  EXPECT_EQ(currentCode(), unit::Ecca);
  type("M");
  type("Mb");  // typing on moves to the longer prefix
  EXPECT_EQ(currentCode(), unit::Mbizane);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(BrowsingTest, ClearEmptiesTheFindBoxAndPutsTheFocusThere) {
  type("Mb");
  find<ui::DataEdit>("DBEdit1")->setFocus();
  QTest::mouseClick(find<QToolButton>("sbLocate"), Qt::LeftButton);
  EXPECT_TRUE(find<QLineEdit>("eLocate")->text().isEmpty());
  EXPECT_EQ(window->focusWidget(), find<QLineEdit>("eLocate"));
  QTest::mouseClick(find<QToolButton>("sbLocate"), Qt::LeftButton);  // empty already: no harm
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(BrowsingTest, DoubleClickOnTheParentMovesUpAndKeepsTheSubUnitGridOnTheUnitLeft) {
  goTo(unit::Ecca);
  doubleClickParent();
  EXPECT_EQ(currentCode(), unit::Karoo);
  EXPECT_EQ(subUnitCode(), unit::Ecca);
  doubleClickParent();  // the top has no parent
  EXPECT_EQ(currentCode(), unit::Karoo);
  goTo(unit::Kalkrand);  // its parent belongs to Namibia
  doubleClickParent();
  EXPECT_EQ(currentCode(), unit::Kalkrand);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(BrowsingTest, DoubleClickOnASubUnitMovesDownButNotIntoAnotherCountry) {
  goTo(unit::Karoo);
  ASSERT_TRUE(dmVORL->VORLList2.locate("Code", std::to_string(unit::Ecca)));
  ASSERT_TRUE(dmVORL->VORLList3.locate("Code", std::to_string(unit::Collingham)));
  doubleClickGrid("dbgSubSubUnit", dmVORL->VORLList3);
  EXPECT_EQ(currentCode(), unit::Collingham);

  goTo(unit::Karoo);
  ASSERT_TRUE(dmVORL->VORLList2.locate("Code", std::to_string(unit::Dwyka)));
  doubleClickGrid("dbgSubUnit", dmVORL->VORLList2);
  EXPECT_EQ(currentCode(), unit::Dwyka);

  goTo(unit::Karoo);
  ASSERT_EQ(dmVORL->VORLList2.fieldByName("Code").asInteger(), unit::Aranos);  // listed, but Namibian
  doubleClickGrid("dbgSubUnit", dmVORL->VORLList2);
  EXPECT_EQ(currentCode(), unit::Karoo);
  EXPECT_FALSE(dmVORL->VORLList2.locate("Code", std::to_string(unit::Withdrawn)));
}

TEST_F(BrowsingTest, UnitTabClosesTheAreaQueriesAndTheUnitsSynonymsWhileOtherTabsKeepThem) {
  showTab("tsArea");
  showTab("tsRecordView");
  EXPECT_TRUE(open("QArea1"));
  EXPECT_TRUE(open("Synonyms"));
  showTab("tsOccurrence");
  for (const char* closed : {"QArea1", "QArea2", "QArea3", "Synonyms", "SynonList", "Correlatives", "CorrelList"})
    EXPECT_FALSE(open(closed)) << closed;
  showTab("tsSynonyms");
  for (const char* opened : {"Synonyms", "SynonList", "Correlatives", "CorrelList", "CorrelCtry"})
    EXPECT_TRUE(open(opened)) << opened;
  goTo(unit::Dwyka);
  EXPECT_EQ(dmVORL->SynonList.recordCount(), 2u);
  EXPECT_EQ(dmVORL->CorrelCtry.fieldByName("CountryName").asString(), "Namibia");
  showTab("tsUnits");
  EXPECT_FALSE(open("SynonList"));
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(BrowsingTest, InnerTabsOpenAndCloseTheSubUnitsSynonymsAndCorrelatives) {
  goTo(unit::Karoo);
  ASSERT_TRUE(dmVORL->VORLList2.locate("Code", std::to_string(unit::Dwyka)));
  showTab("tsCorrelatives2");
  EXPECT_TRUE(open("CorrelCtry2"));
  EXPECT_EQ(dmVORL->CorrelList2.fieldByName("Name").asString(), "Kuibis Subgroup");
  showTab("tsList3");
  for (const char* closed : {"Synonyms2", "SynonList2", "Correlatives2", "CorrelList2"})
    EXPECT_FALSE(open(closed)) << closed;
  EXPECT_TRUE(open("CorrelCtry2"));  // not among the four the tab closes

  // Showing Synonyms again reads the list afresh.
  showTab("tsSynonyms2");
  EXPECT_EQ(dmVORL->SynonList2.recordCount(), 2u);
  appendRows(*session, "VORL", "SynonList.DB", {"SynonymName", "SynonymRank", "Code"}, {{"Dwyka Beds", "", "110"}});
  showTab("tsList3");
  showTab("tsSynonyms2");
  EXPECT_EQ(dmVORL->SynonList2.recordCount(), 3u);
}

TEST_F(BrowsingTest, AFailingOpenOnATabIsReportedAndTheDatasetsAfterItStayClosed) {
  showTab("tsOccurrence");
  executeOn(configuration, "VORL", "DROP TABLE Correlatives");
  showTab("tsSynonyms");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].kind, ui::MessageKind::Error);
  EXPECT_TRUE(open("SynonList"));
  for (const char* closed : {"Correlatives", "CorrelList", "CorrelCtry"}) EXPECT_FALSE(open(closed)) << closed;
}

}  // namespace
}  // namespace apptest
