// Start-up and close of the main window: settings read and written, datasets opened in order, the
// country filter, the status bar, and what the settings show or hide.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

#include "app/page_control.h"
#include "app/vorl_varb.h"
#include "app_test_support.h"

namespace apptest {
namespace {

class StartupTest : public MainWindowTest {
 protected:
  bool geochronologyTabShown() const { return outerTabs().isPageVisible(window->findChild<QWidget*>("tsGeochronology")); }
  bool editMenuShown() const { return window->findChild<QMenu*>("Edit1")->menuAction()->isVisible(); }
  bool passwordAsked() const { return !dialogs.shownDialogs.empty(); }
  void startWith(const std::string& settings) {
    writeSettingsFile(settings);
    createProgram();
    showWindow();
  }
};

TEST_F(StartupTest, WithoutSettingsFileDefaultsApplyAndAllKeysAreWrittenAtClose) {
  createProgram();
  showWindow();
  EXPECT_EQ(ReportFileName, vorl::defaultReportFileName());
  EXPECT_FALSE(AmbrellLink);
  EXPECT_FALSE(SequenceLink);
  EXPECT_FALSE(geochronologyTabShown());
  EXPECT_FALSE(editMenuShown());
  EXPECT_FALSE(passwordAsked());
  EXPECT_TRUE(dialogs.messages.empty());

  window->close();  // as the title-bar button does
  const std::string written = readSettingsFile();
  EXPECT_NE(written.find("[Report setup]"), std::string::npos);
  EXPECT_NE(written.find("Report file=" + vorl::defaultReportFileName()), std::string::npos);
  EXPECT_NE(written.find("[Other links]"), std::string::npos);
  EXPECT_NE(written.find("Ambrell=0"), std::string::npos);
  EXPECT_NE(written.find("Sequence=0"), std::string::npos);
}

TEST_F(StartupTest, TheTwoFlagsShowTheTabTheMenuAndThePrompt) {
  struct Case {
    const char* settings;
    bool tab, menu, prompt;
  };
  const Case cases[] = {
      {"[Other links]\nAmbrell=1\nSequence=0\n", true, false, false},
      {"[Other links]\nAmbrell=0\nSequence=1\n", false, false, true},
      {"[Other links]\nAmbrell=1\nSequence=1\n", true, true, true},
      {"[Other links]\nAmbrell=0x1\nSequence=yes\n", true, false, false},  // hex on, a word is off
  };
  for (const Case& each : cases) {
    SCOPED_TRACE(each.settings);
    TearDown();
    SetUp();
    startWith(each.settings);
    EXPECT_EQ(geochronologyTabShown(), each.tab);
    EXPECT_EQ(editMenuShown(), each.menu);
    EXPECT_EQ(passwordAsked(), each.prompt);
  }
}

TEST_F(StartupTest, AnEmptyReportFileValueIsKeptEmpty) {
  startWith("[Report setup]\nReport file=\n");
  EXPECT_EQ(ReportFileName, "");
}

TEST_F(StartupTest, OpensTheStartupDatasetsSetsSouthAfricaAndTheStatusNote) {
  createProgram();
  showWindow();
  for (std::string_view name : data::TdmVORL::startupOrder) EXPECT_TRUE(dmVORL->dataset(name).active()) << name;
  for (const char* closed : {"CorrelCtry", "CorrelCtry2", "QArea1", "QArea2", "QArea3"})
    EXPECT_FALSE(dmVORL->dataset(closed).active()) << closed;
  EXPECT_EQ(dmVORL->CountryList.fieldByName("CountryID").asString(), "ZA");
  EXPECT_EQ(dmVORL->VORLList.fieldByName("CountryID").asString(), "ZA");
  EXPECT_EQ(find<QLabel>("StatusBar1Text")->text(), "Data last updated: 1 May 2025");
  EXPECT_TRUE(window->isVisible());
}

TEST_F(StartupTest, WithoutSouthAfricaTheFirstCountryIsChosen) {
  createProgram(createDatabases(directory.filePath("db-no-za"), [](engine::Session& filler) {
    fillSmallLexicon(filler, false);
  }));
  showWindow();
  EXPECT_EQ(dmVORL->CountryList.fieldByName("CountryID").asString(), "BW");
  EXPECT_EQ(dmVORL->VORLList.fieldByName("Name").asString(), "Ghanzi Group");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(StartupTest, AFailingDatasetIsReportedAndTheWindowStillAppearsWithTheSettingsRead) {
  const std::string configuration = smallDatabases();
  executeOn(configuration, "VORL", "DROP TABLE VORLWhen");
  writeSettingsFile("[Other links]\nAmbrell=1\nSequence=1\n");
  createProgram(configuration);
  showWindow();

  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].kind, ui::MessageKind::Error);
  EXPECT_EQ(dialogs.messages[0].caption, "VORL Database");
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(AmbrellLink);
  EXPECT_TRUE(dmVORL->Chrono.active());
  for (const char* after : {"WhenUpdated", "Rank", "Rank0", "AreaList1", "CorrelList2"})
    EXPECT_FALSE(dmVORL->dataset(after).active()) << after;
  EXPECT_TRUE(find<QLabel>("StatusBar1Text")->text().isEmpty());
  EXPECT_FALSE(passwordAsked());
  EXPECT_FALSE(geochronologyTabShown());
  EXPECT_FALSE(editMenuShown());

  window->close();
  EXPECT_NE(readSettingsFile().find("Ambrell=1"), std::string::npos);
}

TEST_F(StartupTest, AFailedWriteAtCloseIsReportedAndTheWindowStillCloses) {
  createProgram();
  showWindow();
  vorl::setSettingsFileName(directory.filePath("missing/folder/VORL.INI").toStdString());
  window->close();
  EXPECT_FALSE(window->isVisible());
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Unable to write to " + directory.filePath("missing/folder/VORL.INI") + ".");
}

TEST_F(StartupTest, MenusAndTabsCarryTheirCaptionsInOrder) {
  createProgram();
  QStringList menus;
  for (QAction* action : window->menuBar()->actions()) menus << action->text();
  EXPECT_EQ(menus, QStringList({"&File", "&Edit", "&Options", "&Help"}));
  QStringList fileItems;
  for (QAction* action : window->findChild<QMenu*>("File1")->actions())
    fileItems << (action->isSeparator() ? "-" : action->text());
  EXPECT_EQ(fileItems, QStringList({"&Print", "Print &all", "E&xport...", "-", "E&xit"}));
  writeSettingsFile("[Other links]\nAmbrell=1\n");
  showWindow();
  EXPECT_EQ(outerTabs().visibleCaptions(),
            QStringList({"Unit", "Area", "Record View", "Available Areas", "Geochronology",
                         "Description and comments", "Synonyms and Correlatives", "Occurrence"}));
  EXPECT_EQ(innerTabs().visibleCaptions(),
            QStringList({"Units", "Description", "Comments", "Occurrence", "Synonyms", "Correlatives"}));
  EXPECT_EQ(window->windowTitle(), "Stratigraphic units");
}

}  // namespace
}  // namespace apptest
