// The "Area" tab: three queries reset to area "1" on every showing, each chooser re-running only
// its own panel.
#include <QCoreApplication>

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

}  // namespace
}  // namespace apptest
