// The print commands over a real lexicon: the datasets open behind the window, all of it gone when
// the command ends, and the project read afresh each time.
#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>

#include "report_fixture.h"
#include "report_window_support.h"
#include "reports/print_commands.h"

namespace reports_test {
namespace {

using Root = reports::TReportData::Root;

const std::vector<QString> kConnections{"RPQueryConnection1", "RPdscList2",     "RPdscList3",     "RPdscList4",
                                        "RPdscList5",         "RPdscCodeArea",  "RPdscCodeArea2", "RPdscCodeArea3",
                                        "RPdscCodeArea4",     "RPdscCodeArea5", "RPdscAreaList"};

bool anyConnection() {
  for (const QString& name : kConnections)
    if (reporting::connections().find(name)) return true;
  return false;
}

bool anySelectionWindow() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (qobject_cast<reports::TfmRep1*>(window)) return true;
  return false;
}

Codes rootCodes(reports::TReportData& data) {
  Codes result;
  for (data.ReportQuery1.first(); !data.ReportQuery1.eof(); data.ReportQuery1.next())
    result.push_back(data.ReportQuery1.fieldByName("Code").asInteger());
  std::sort(result.begin(), result.end());  // the engine's order is not fixed
  return result;
}

class PrintCommandTest : public ReportDataTest {
 protected:
  PrintCommandTest() { writeFile(projectFile(), projectText({{"Units", "Unit list", "User", "Every root unit."}})); }
  QString projectFile() const { return folder.filePath("lexicon.rpd"); }
  void print(Root root) { reports::printReports(root, databases.session, dsVORLList, {projectFile(), false}, nullptr); }

  QTemporaryDir folder;
  ScriptedWindows dialogs;
};

TEST_F(PrintCommandTest, WindowIsShownOverOpenDatasetsAndTakesThemAlongWhenItGoes) {
  chooseUnit("110");
  bool ran = false;
  dialogs.on("fmRep1", [&](QDialog& dialog) {
    ran = true;
    auto& window = static_cast<reports::TfmRep1&>(dialog);
    EXPECT_EQ(window.ReportLB->count(), 1) << "the window was shown";
    reports::TReportData& data = window.data();
    EXPECT_EQ(rootCodes(data), Codes{110});
    for (engine::Dataset* open : std::initializer_list<engine::Dataset*>{
             &data.tVORLList2, &data.tVORLList5, &data.tQCodeArea, &data.tQCodeArea5, &data.tAreaList}) {
      EXPECT_TRUE(open->active()) << open->name();
    }
    EXPECT_EQ(reporting::connections().find("rpdsccodearea3"), &data.RPdscCodeArea3);
    window.bbClose->click();
  });
  print(Root::CurrentUnit);
  EXPECT_TRUE(ran);
  EXPECT_FALSE(anySelectionWindow());
  EXPECT_FALSE(anyConnection()) << "withdrawn with the window";
  EXPECT_EQ(units.fieldByName("Code").asInteger(), 110) << "the main window's unit stays where it was";
  units.next();  // the root query, gone, no longer follows the unit view
  EXPECT_EQ(units.fieldByName("Code").asInteger(), 111);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PrintCommandTest, EachCommandReadsTheProjectFileAfresh) {
  QStringList listed;
  auto listAndClose = [&](QDialog& dialog) {
    auto& window = static_cast<reports::TfmRep1&>(dialog);
    listed.append(window.ReportLB->item(window.ReportLB->count() - 1)->text());
    window.bbClose->click();
  };
  dialogs.on("fmRep1", listAndClose);
  print(Root::TopLevel);
  writeFile(projectFile(), projectText({{"Units", "Unit list", "User", ""}, {"More", "Another list", "User", ""}}));
  dialogs.on("fmRep1", listAndClose);
  print(Root::CurrentUnit);
  EXPECT_EQ(listed, QStringList({"Unit list", "Another list"}));
}

}  // namespace
}  // namespace reports_test
