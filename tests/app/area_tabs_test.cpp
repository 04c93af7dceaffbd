// The "Area" tab: three queries reset to area "1" on every showing, each chooser re-running only
// its own panel; the "Available Areas" tab's grid and navigator.
#include <algorithm>
#include <QCoreApplication>
#include <QTest>

#include "app_test_support.h"
#include "ui/data_controls.h"

namespace apptest {
namespace {

class AreaTabsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    createProgram();
    showWindow();
    ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(unit::Karoo)));
  }
  std::vector<int> listed(engine::Query& query) const {
    std::vector<int> codes;
    for (query.first(); !query.eof(); query.next()) {
      codes.push_back(static_cast<int>(query.fieldByName("Code").asInteger()));
    }
    return codes;
  }
  // Chooses an area in chooser n as the user does: the list moves, then the drop-down closes.
  void choose(int panel, const QString& areaName) {
    auto* chooser = find<ui::DataLookupList>(("dblcbAreaList" + std::to_string(panel)).c_str());
    chooser->setCurrentIndex(chooser->findText(areaName));
    chooser->showPopup();
    chooser->hidePopup();
    QCoreApplication::processEvents();  // the close-up is reported once the choice has settled
  }
  std::string parameter(engine::Query& query) const {
    return std::get<std::string>(query.paramByName("AreaID").value);
  }
};

TEST_F(AreaTabsTest, ShowingTheTabListsTheSubUnitsOfAreaOneInYearsOrderInAllThreePanels) {
  showTab("tsArea");
  const std::vector<int> areaOne = {unit::Ecca, unit::Dwyka, unit::Withdrawn};  // withdrawn units too
  for (engine::Query* query : {&dmVORL->QArea1, &dmVORL->QArea2, &dmVORL->QArea3}) {
    ASSERT_TRUE(query->active());
    EXPECT_EQ(listed(*query), areaOne);
  }
  ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(unit::Dwyka)));  // the queries follow the unit
  EXPECT_EQ(listed(dmVORL->QArea1), std::vector<int>({unit::Elandsvlei}));
}

TEST_F(AreaTabsTest, AChooserReRunsOnlyItsPanelAndShowingTheTabResetsToAreaOne) {
  showTab("tsArea");
  choose(3, "Western Cape");
  EXPECT_EQ(parameter(dmVORL->QArea3), "2");
  EXPECT_EQ(listed(dmVORL->QArea3), std::vector<int>({unit::Aranos, unit::Dwyka}));
  EXPECT_EQ(parameter(dmVORL->QArea1), "1");
  EXPECT_EQ(parameter(dmVORL->QArea2), "1");
  choose(2, "Southern Namibia");  // no sub-unit occurs there
  EXPECT_EQ(dmVORL->QArea2.recordCount(), 0u);

  showTab("tsRecordView");
  showTab("tsArea");
  EXPECT_EQ(parameter(dmVORL->QArea3), "1");
  EXPECT_EQ(parameter(dmVORL->QArea2), "1");
  EXPECT_EQ(find<ui::DataLookupList>("dblcbAreaList3")->currentText(), "Western Cape");  // the chooser keeps it
  EXPECT_EQ(dmVORL->AreaList3.fieldByName("AreaID").asString(), "2");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(AreaTabsTest, AvailableAreasSharesTheLeftPanelsCursor) {
  showTab("tsAvailableAreas");
  dmVORL->AreaList1.last();
  EXPECT_EQ(find<ui::DataEdit>("DBEdit13")->text(), "3");
  EXPECT_EQ(find<ui::DataLookupList>("dblcbAreaList1")->currentText(), "Southern Namibia");
}

// Areas added, renamed or deleted in "Available Areas" reach all three choosers at once.
TEST_F(AreaTabsTest, AvailableAreasEditsReachAllThreeChoosers) {
  showTab("tsAvailableAreas");
  const auto chooserHas = [this](int panel, const QString& name) {
    return find<ui::DataLookupList>(("dblcbAreaList" + std::to_string(panel)).c_str())->findText(name) >= 0;
  };
  auto& areas = dmVORL->AreaList1;
  areas.append();
  areas.fieldByName("AreaID").setAsString("9");
  areas.fieldByName("AreaName").setAsString("Kalahari");
  areas.post();
  QCoreApplication::processEvents();
  for (int panel = 1; panel <= 3; ++panel) EXPECT_TRUE(chooserHas(panel, "Kalahari")) << "panel " << panel;
  areas.edit();
  areas.fieldByName("AreaName").setAsString("Kalahari Basin");
  areas.post();
  QCoreApplication::processEvents();
  for (int panel = 1; panel <= 3; ++panel) EXPECT_TRUE(chooserHas(panel, "Kalahari Basin")) << "panel " << panel;
  areas.deleteRecord();
  QCoreApplication::processEvents();
  for (int panel = 1; panel <= 3; ++panel) EXPECT_FALSE(chooserHas(panel, "Kalahari Basin")) << "panel " << panel;
}

// Types text into a cell of a grid as the user does: the cell's editor opens, then takes the text.
void typeIntoCell(ui::DataGrid& grid, int row, int column, const QString& text) {
  const QModelIndex cell = grid.model()->index(row, column);
  grid.setCurrentIndex(cell);
  static_cast<QAbstractItemView&>(grid).edit(cell);
  ASSERT_NE(grid.indexWidget(cell), nullptr);
  QTest::keyClicks(grid.indexWidget(cell), text);
}

// A post through the navigator while a cell editor is open leaves the row stored, the dataset
// browsing and the navigator's post and cancel disabled.
TEST_F(AreaTabsTest, AvailableAreasNavigatorFollowsThePost) {
  window->show();
  showTab("tsAvailableAreas");
  auto* navigator = find<ui::DataNavigator>("DBNavigator9");
  auto* grid = find<ui::DataGrid>("DBGrid9");
  navigator->click(ui::NavigatorButton::Insert);
  const int row = static_cast<int>(dmVORL->AreaList1.recNo());
  typeIntoCell(*grid, row, 0, "9");
  typeIntoCell(*grid, row, 1, "Kalahari");
  navigator->click(ui::NavigatorButton::Post);
  QCoreApplication::processEvents();
  EXPECT_TRUE(messageTexts().empty()) << messageTexts().front().toStdString();
  EXPECT_EQ(dmVORL->AreaList1.state(), engine::DatasetState::Browse);
  EXPECT_FALSE(navigator->button(ui::NavigatorButton::Post)->isEnabled());
  EXPECT_FALSE(navigator->button(ui::NavigatorButton::Cancel)->isEnabled());
  std::vector<std::string> names;
  for (dmVORL->AreaList1.first(); !dmVORL->AreaList1.eof(); dmVORL->AreaList1.next()) {
    names.push_back(dmVORL->AreaList1.fieldByName("AreaID").asString() + " " +
                    dmVORL->AreaList1.fieldByName("AreaName").asString());
  }
  EXPECT_EQ(std::count(names.begin(), names.end(), "9 Kalahari"), 1) << "the stored row";
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](const std::string& n) { return n.ends_with("Kalahari"); }), 1)
      << "no other row took the editor's text";
}

}  // namespace
}  // namespace apptest
