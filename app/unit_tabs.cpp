// The tabs that show the current unit and the selected sub-unit, and the opening and closing of
// their detail datasets as the tabs are shown.
#include <QLabel>

#include "app/form_builder.h"
#include "app/main_window.h"
#include "app/page_control.h"
#include "data/dm_vorl.h"
#include "data/lexicon_schema.h"
#include "data/schema_fields.h"
#include "ui/data_controls.h"

using vorl::kEditHeight;
using vorl::kNavigatorHeight;
using vorl::makeLabel;
using vorl::place;
using Button = ui::NavigatorButton;

namespace {

const std::vector<Button> kBrowseButtons = {Button::First, Button::Prior, Button::Next, Button::Last};
const std::vector<Button> kBrowseAndEditButtons = {Button::First, Button::Prior,  Button::Next,
                                                   Button::Last,  Button::Insert, Button::Delete, Button::Post};
const std::vector<Button> kAllButtons = {Button::First, Button::Prior, Button::Next,   Button::Last,
                                         Button::Insert, Button::Delete, Button::Edit, Button::Post,
                                         Button::Cancel, Button::Refresh};
const QString kMoveHint = "Double Click on cell to move to unit";

ui::DataNavigator* addNavigator(QWidget* parent, engine::DataSource& source, std::vector<Button> buttons,
                                const char* name, int left, int top, int width) {
  return place(new ui::DataNavigator(parent, &source, std::move(buttons)), name, left, top, width, kNavigatorHeight);
}

ui::DataGrid* addGrid(QWidget* parent, engine::DataSource& source, std::vector<ui::GridColumn> columns,
                      const char* name, QRect geometry) {
  auto* grid = new ui::DataGrid(parent, &source, std::move(columns));
  grid->setObjectName(name);
  grid->setGeometry(geometry);
  return grid;
}

ui::DataEdit* addEdit(QWidget* parent, engine::DataSource& source, const char* field, const char* name, int left,
                      int top, int width) {
  return place(new ui::DataEdit(parent, &source, field), name, left, top, width, kEditHeight);
}

ui::DataMemo* addMemo(QWidget* parent, engine::DataSource& source, const char* field, const char* name,
                      QRect geometry) {
  auto* memo = new ui::DataMemo(parent, &source, field);
  memo->setObjectName(name);
  memo->setGeometry(geometry);
  return memo;
}

// A sub-unit grid: name, rank and the sort age, which stays hidden until the editing password is given.
std::vector<ui::GridColumn> subUnitColumns(int nameWidth, int rankWidth) {
  return {{"Name", "", nameWidth}, {"Rank", "", rankWidth}, {"Years", "", 0, false}};
}

template <typename Step>
void ignoringFailures(Step step) {
  try {
    step();
  } catch (...) {
    // The block ends silently; the datasets after the failing one stay as they were.
  }
}

}  // namespace

void TfmVORL1::buildUnitTab() {
  auto& subUnits = dm().dsVORLList2;
  addNavigator(tsUnits, subUnits, {Button::First, Button::Prior, Button::Next, Button::Last, Button::Post},
               "DBNavigator2", 2, 2, 320);
  dbgSubUnit = addGrid(tsUnits, subUnits, subUnitColumns(166, 72), "dbgSubUnit", {2, 26, 325, 229});
  dbgSubUnit->setToolTip(kMoveHint);
  vorl::skipOnTab(dbgSubUnit);
  connect(dbgSubUnit, &ui::DataGrid::doubleClicked, this, [this] { handle(&TfmVORL1::dbgSubUnitDblClick); });

  PageControl1 = place(new vorl::PageControl(tsUnits), "PageControl1", 332, 2, 337, 249);
  tsList3 = PageControl1->addPage("tsList3", "Units");
  tsDescription2 = PageControl1->addPage("tsDescription2", "Description");
  tsComments2 = PageControl1->addPage("tsComments2", "Comments");
  tsOccurrence2 = PageControl1->addPage("tsOccurrence2", "Occurrence");
  tsSynonyms2 = PageControl1->addPage("tsSynonyms2", "Synonyms");
  tsCorrelatives2 = PageControl1->addPage("tsCorrelatives2", "Correlatives");
}

void TfmVORL1::buildSubUnitPages() {
  auto& subUnits = dm().dsVORLList2;
  addNavigator(tsList3, dm().dsVORLList3, kBrowseButtons, "DBNavigator3", 2, 2, 200);
  dbgSubSubUnit = addGrid(tsList3, dm().dsVORLList3, subUnitColumns(175, 81), "dbgSubSubUnit", {2, 26, 327, 175});
  dbgSubSubUnit->setToolTip(kMoveHint);
  vorl::skipOnTab(dbgSubSubUnit);
  connect(dbgSubSubUnit, &ui::DataGrid::doubleClicked, this, [this] { handle(&TfmVORL1::dbgSubSubUnitDblClick); });

  addMemo(tsDescription2, subUnits, "Description", "DBMemo1", {2, 2, 329, 199});

  addMemo(tsComments2, subUnits, "Comments", "DBMemo2", {2, 2, 329, 170});
  auto* dated = new ui::DataCheckBox(tsComments2, &subUnits, "Dated", "Dated");
  dated->setObjectName("DBCheckBox1");
  dated->setGeometry(2, 180, 60, 17);
  place(new ui::DataText(tsComments2, &subUnits, "Interpretation"), "DBText1", 70, 180, 259, 17);

  addNavigator(tsOccurrence2, dm().dsCodeArea2, kBrowseAndEditButtons, "DBNavigator5", 2, 2, 230);
  addGrid(tsOccurrence2, dm().dsCodeArea2, {{"Code", ""}, {"Area", ""}}, "DBGrid6", {2, 26, 329, 146});
  makeLabel(tsOccurrence2, "Area name", 2, 181, "Label14");
  addEdit(tsOccurrence2, dm().dsAreaListL2, "AreaName", "DBEdit19", 60, 178, 269);

  addNavigator(tsSynonyms2, dm().dsSynonList2, kBrowseAndEditButtons, "DBNavigator6", 2, 2, 230);
  addGrid(tsSynonyms2, dm().dsSynonList2, {{"SynonymName", ""}, {"SynonymRank", ""}}, "DBGrid7",
          {2, 26, 329, 175});

  addNavigator(tsCorrelatives2, dm().dsCorrelatives2, kBrowseAndEditButtons, "DBNavigator10", 2, 2, 230);
  addGrid(tsCorrelatives2, dm().dsCorrelatives2, {{"Code", ""}, {"Correlative", ""}}, "DBGrid10", {2, 26, 329, 122});
  makeLabel(tsCorrelatives2, "Unit", 2, 157, "Label15");
  addEdit(tsCorrelatives2, dm().dsCorrelList2, "Name", "DBEdit20", 50, 154, 180);
  addEdit(tsCorrelatives2, dm().dsCorrelList2, "Rank", "DBEdit23", 234, 154, 95);
  makeLabel(tsCorrelatives2, "Country", 2, 181, "Label16");
  addEdit(tsCorrelatives2, dm().dsCorrelCtry2, "CountryName", "DBEdit24", 50, 178, 180);
}

void TfmVORL1::buildRecordAndDescriptionTabs() {
  addNavigator(tsRecordView, dm().dsVORLList, kAllButtons, "DBNavigator8", 4, 2, 660);
  std::vector<ui::GridColumn> everyField;
  for (const engine::FieldDef& field : data::tableOf(data::lexiconSchema(), "VORLLIST.DB").fields)
    everyField.push_back({QString::fromStdString(field.name)});
  addGrid(tsRecordView, dm().dsVORLList, std::move(everyField), "DBGrid8", {4, 26, 661, 225});

  makeLabel(tsDescription, "Description", 6, 4, "Label10");
  addMemo(tsDescription, dm().dsVORLList, "Description", "DBMemo3", {4, 20, 321, 229});
  makeLabel(tsDescription, "Comments", 342, 4, "Label11");
  addMemo(tsDescription, dm().dsVORLList, "Comments", "DBMemo4", {340, 20, 321, 229});
}

void TfmVORL1::buildSynonymsTab() {
  addNavigator(tsSynonyms, dm().dsSynonList, kBrowseAndEditButtons, "DBNavigator12", 4, 2, 230);
  addGrid(tsSynonyms, dm().dsSynonList, {{"SynonymName", "Synonym Unit"}, {"SynonymRank", "Rank"}}, "DBGrid1",
          {4, 26, 321, 225});
  addNavigator(tsSynonyms, dm().dsCorrelatives, kBrowseAndEditButtons, "DBNavigator13", 340, 2, 230);
  addGrid(tsSynonyms, dm().dsCorrelatives, {{"Code", ""}, {"Correlative", ""}}, "DBGrid2", {340, 26, 321, 170});
  makeLabel(tsSynonyms, "Unit", 340, 207, "Label12");
  addEdit(tsSynonyms, dm().dsCorrelList, "Name", "DBEdit10", 386, 204, 170);
  addEdit(tsSynonyms, dm().dsCorrelList, "Rank", "DBEdit21", 560, 204, 101);
  makeLabel(tsSynonyms, "Country", 340, 233, "Label13");
  addEdit(tsSynonyms, dm().dsCorrelCtry, "CountryName", "DBEdit26", 386, 230, 170);
}

void TfmVORL1::buildOccurrenceTab() {
  addNavigator(tsOccurrence, dm().dsCodeArea, kBrowseAndEditButtons, "DBNavigator14", 4, 2, 230);
  addGrid(tsOccurrence, dm().dsCodeArea, {{"Code", ""}, {"Area", ""}}, "DBGrid3", {4, 26, 330, 199});
  makeLabel(tsOccurrence, "Area name", 4, 235, "Label17");
  addEdit(tsOccurrence, dm().dsAreaList, "AreaName", "DBEdit27", 64, 232, 270);
}

void TfmVORL1::tsUnitsShow() {
  dm().QArea1.close();
  dm().QArea2.close();
  dm().QArea3.close();
  ignoringFailures([this] {
    dm().Synonyms.close();
    dm().SynonList.close();
    dm().Correlatives.close();
    dm().CorrelList.close();
  });
}

void TfmVORL1::tsList3Show() {
  ignoringFailures([this] {
    dm().Synonyms2.close();
    dm().SynonList2.close();
    dm().Correlatives2.close();
    dm().CorrelList2.close();
  });
}

void TfmVORL1::tsSynonyms2Show() {
  dm().Synonyms2.open();
  dm().SynonList2.open();
}

void TfmVORL1::tsCorrelatives2Show() {
  dm().Correlatives2.open();
  dm().CorrelList2.open();
  dm().CorrelCtry2.open();
}

void TfmVORL1::tsSynonymsShow() {
  dm().Synonyms.open();
  dm().SynonList.open();
  dm().Correlatives.open();
  dm().CorrelList.open();
  dm().CorrelCtry.open();
}
