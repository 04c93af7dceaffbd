// The unit panel and the moves through the unit hierarchy: find by name, up to the parent and
// down to a sub-unit.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/form_builder.h"
#include "app/glyphs.h"
#include "app/main_window.h"
#include "data/dm_vorl.h"
#include "ui/data_controls.h"

using vorl::Bevel;
using vorl::kEditHeight;
using vorl::makeLabel;
using vorl::place;

namespace {

const QColor kAqua(0, 255, 255);
const QColor kSilver(192, 192, 192);

// Moves compare codes without regard to case and as whole values.
constexpr engine::LocateOptions kWholeCode{.caseInsensitive = true, .partialKey = false};

ui::DataEdit* addEdit(QWidget* parent, engine::DataSource& source, const char* field, const char* name, int left,
                      int top, int width) {
  auto* edit = place(new ui::DataEdit(parent, &source, field), name, left, top, width, kEditHeight);
  vorl::skipOnTab(edit);
  return edit;
}

}  // namespace

void TfmVORL1::buildUnitPanel() {
  auto& units = dm().dsVORLList;
  using Button = ui::NavigatorButton;
  place(new ui::DataNavigator(Panel3, &units, {Button::First, Button::Prior, Button::Next, Button::Last, Button::Post}),
        "DBNavigator1", 2, 2, 365, 18);
  vorl::setBackground(addEdit(Panel3, units, "Name", "DBEdit1", 4, 23, 241), kAqua);
  vorl::setBackground(addEdit(Panel3, units, "Rank", "DBEdit3", 248, 23, 121), kAqua);
  makeLabel(Panel3, "Code", 4, 51, "Label3");
  addEdit(Panel3, units, "Code", "DBEdit6", 32, 48, 53);
  makeLabel(Panel3, "Map label", 92, 51, "Label4");
  addEdit(Panel3, units, "MapLabel", "DBEdit12", 144, 48, 49);
  makeLabel(Panel3, "Age", 204, 50, "Label5");
  addEdit(Panel3, units, "AgeMinimum", "DBEdit16", 228, 47, 49);
  makeLabel(Panel3, "to", 281, 50, "Label6");
  addEdit(Panel3, units, "AgeMaximum", "DBEdit17", 292, 47, 49);
  addEdit(Panel3, units, "AgeUnits", "DBEdit18", 344, 47, 25);

  lYears = makeLabel(Panel3, "Years", 4, 78, "lYears");
  dbeYears = addEdit(Panel3, units, "Years", "dbeYears", 36, 75, 109);
  bbDateStamp = place(new QPushButton("Modify date updated", Panel3), "bbDateStamp", 196, 76, 141, 25);
  bbDateStamp->setIcon(vorl::dateStampGlyph());
  connect(bbDateStamp, &QPushButton::clicked, this, [this] { handle(&TfmVORL1::bbDateStampClick); });
  for (QWidget* maintenance : {static_cast<QWidget*>(lYears), static_cast<QWidget*>(dbeYears),
                               static_cast<QWidget*>(bbDateStamp)})
    maintenance->hide();

  auto* dated = new ui::DataCheckBox(Panel3, &units, "Dated", "Dated");
  dated->setObjectName("DBCheckBox2");
  dated->move(372, 84);
  dated->adjustSize();
  vorl::skipOnTab(dated);
  place(new ui::DataText(Panel3, &units, "Interpretation"), "DBText2", 512, 84, 169, 17);

  auto* parents = vorl::makePanel(Panel3, "Panel2", {372, 4, 309, 77}, Bevel::Lowered);
  vorl::setBackground(addEdit(parents, dm().dsChrono, "UNIT", "DBEdit5", 4, 3, 177), kSilver);
  vorl::setBackground(addEdit(parents, dm().dsChrono, "RANK", "DBEdit2", 184, 3, 121), kSilver);
  vorl::setBackground(addEdit(parents, dm().dsStatus, "Status", "DBEdit4", 4, 27, 301), kSilver);
  auto* parent = addEdit(parents, dm().dsVORLList0, "Name", "dbeParentUnit", 4, 52, 177);
  parent->setToolTip("Double Click to move to");
  connect(parent, &ui::DataEdit::doubleClicked, this, [this] { handle(&TfmVORL1::dbeParentUnitDblClick); });
  addEdit(parents, dm().dsVORLList0, "Rank", "DBEdit8", 184, 52, 121);
}

void TfmVORL1::eLocateChange() {
  dm().VORLList.locate("Name", eLocate->text().toStdString(), {.caseInsensitive = true, .partialKey = true});
}

void TfmVORL1::sbLocateClick() {
  // Clearing runs the search once more, also when the box was empty already.
  if (eLocate->text().isEmpty())
    eLocateChange();
  else
    eLocate->clear();
  eLocate->setFocus();
}

void TfmVORL1::dbeParentUnitDblClick() {
  const std::string parentCode = dm().VORLList0.fieldByName("Code").asString();
  const std::string unitCode = dm().VORLList.fieldByName("Code").asString();
  if (parentCode.empty()) return;  // no parent in reach: nothing moves
  dm().VORLList.locate("Code", parentCode, kWholeCode);
  dm().VORLList2.locate("Code", unitCode, kWholeCode);
}

void TfmVORL1::moveToUnitOf(engine::DataSource& source) {
  const std::string code = source.dataset()->fieldByName("Code").asString();
  if (!code.empty()) dm().VORLList.locate("Code", code, kWholeCode);
}

void TfmVORL1::dbgSubUnitDblClick() { moveToUnitOf(dm().dsVORLList2); }

void TfmVORL1::dbgSubSubUnitDblClick() { moveToUnitOf(dm().dsVORLList3); }
