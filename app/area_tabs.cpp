// The "Area" tab (three panels comparing the sub-units found in three areas) and the list of all
// areas.
#include <QLabel>
#include <array>

#include "app/form_builder.h"
#include "app/main_window.h"
#include "data/dm_vorl.h"
#include "ui/data_controls.h"
#include "ui/handler_guard.h"

using vorl::place;
using Button = ui::NavigatorButton;

namespace {

// What one area panel is made of and bound to.
struct AreaPanelDesign {
  const char* panel;
  const char* label;
  const char* chooser;
  const char* codeBox;
  const char* navigator;
  const char* grid;
  int left;
};

constexpr std::array<AreaPanelDesign, 3> kAreaPanels = {{
    {"Panel6", "Label7", "dblcbAreaList1", "DBEdit13", "dbnAreasList", "dbgAreaLeft", 4},
    {"Panel7", "Label8", "dblcbAreaList2", "DBEdit14", "DBNavigator4", "dbgAreaCentre", 225},
    {"Panel9", "Label9", "dblcbAreaList3", "DBEdit15", "DBNavigator7", "dbgAreaRight", 446},
}};

}  // namespace

void TfmVORL1::buildAreaTab() {
  engine::DataSource* lists[] = {&dm().dsAreaList1, &dm().dsAreaList2, &dm().dsAreaList3};
  engine::DataSource* queries[] = {&dm().dsQArea1, &dm().dsQArea2, &dm().dsQArea3};
  for (std::size_t index = 0; index < kAreaPanels.size(); ++index) {
    const AreaPanelDesign& design = kAreaPanels[index];
    auto* panel = vorl::makePanel(tsArea, design.panel, {design.left, 4, 217, 245}, vorl::Bevel::Raised);
    auto* box = vorl::makePanel(panel, "", {4, 4, 209, 49}, vorl::Bevel::Raised);
    vorl::makeLabel(box, "Area", 6, 6, design.label);
    auto* chooser = place(new ui::DataLookupList(box, lists[index], "AreaID", "AreaName"), design.chooser, 4, 24,
                          173, vorl::kEditHeight);
    connect(chooser, &ui::DataLookupList::closeUp, this,
            [this, chooser] { ui::guarded(this, [this, chooser] { dblcbAreaList3CloseUp(chooser); }); });
    dblcbAreaList[index] = chooser;
    place(new ui::DataEdit(box, lists[index], "AreaID"), design.codeBox, 168, 2, 37, vorl::kEditHeight);
    place(new ui::DataNavigator(panel, queries[index], {Button::First, Button::Prior, Button::Next, Button::Last}),
          design.navigator, 4, 55, 209, 22);
    auto* grid = new ui::DataGrid(panel, queries[index], {{"Name", "", 151}, {"Rank"}, {"Years", "", 0, false}});
    grid->setObjectName(design.grid);
    grid->setGeometry(4, 78, 209, 165);
  }
}

void TfmVORL1::buildAvailableAreasTab() {
  place(new ui::DataNavigator(tsAvailableAreas, &dm().dsAreaList1,
                              {Button::First, Button::Prior, Button::Next, Button::Last, Button::Insert, Button::Delete,
                               Button::Edit, Button::Post, Button::Cancel, Button::Refresh}),
        "DBNavigator9", 4, 2, 390, vorl::kNavigatorHeight);
  auto* grid = new ui::DataGrid(tsAvailableAreas, &dm().dsAreaList1, {{"AreaID"}, {"AreaName"}});
  grid->setObjectName("DBGrid9");
  grid->setGeometry(4, 30, 389, 225);
}

void TfmVORL1::tsAreaShow() {
  for (engine::Query* query : {&dm().QArea1, &dm().QArea2, &dm().QArea3}) {
    query->close();
    query->paramByName("AreaID").setAsString("1");
    query->prepare();
    query->open();
  }
}

void TfmVORL1::dblcbAreaList3CloseUp(QObject* Sender) {
  engine::Query* queries[] = {&dm().QArea1, &dm().QArea2, &dm().QArea3};
  engine::Table* lists[] = {&dm().AreaList1, &dm().AreaList2, &dm().AreaList3};
  for (std::size_t index = 0; index < 3; ++index) {
    if (Sender != dblcbAreaList[index]) continue;
    queries[index]->close();
    queries[index]->paramByName("AreaID").setAsString(lists[index]->fieldByName("AreaID").asString());
    queries[index]->open();
  }
}
