// Menu commands of the main window: About, Exit and the dated-unit check (the report commands have
// tests of their own).
#include <QAction>
#include <QLabel>
#include <QPointer>

#include "app/about_box.h"
#include "app/vorl_varb.h"
#include "app_test_support.h"

namespace apptest {
namespace {

class MenuCommandsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    createProgram();
    showWindow();
  }
  void trigger(const char* item) { find<QAction>(item)->trigger(); }
};

TEST_F(MenuCommandsTest, AboutShowsANewBoxEachTimeAndDestroysIt) {
  QPointer<QDialog> shown;
  QString product;
  dialogs.answer = [&](QDialog& dialog) {
    shown = &dialog;
    product = dialog.findChild<QLabel*>("ProductName")->text();
    EXPECT_EQ(dialog.windowTitle(), "About");
    EXPECT_EQ(dialog.parentWidget(), window.get());
    EXPECT_EQ(dialog.findChild<QLabel*>("Version")->text(), "Version 2.0");
    EXPECT_FALSE(dialog.findChild<QLabel*>("ProgramIcon")->pixmap().isNull());
    return int(QDialog::Accepted);
  };
  trigger("About1");
  EXPECT_EQ(dialogs.shownDialogs, std::vector<QString>({"AboutBox"}));
  EXPECT_EQ(product, "VORL units database");
  EXPECT_TRUE(shown.isNull());
  EXPECT_TRUE(window->findChildren<TAboutBox*>().isEmpty());
}

TEST_F(MenuCommandsTest, ExitClosesTheWindowAndWritesTheSettings) {
  trigger("Exit1");
  EXPECT_FALSE(window->isVisible());
  EXPECT_NE(readSettingsFile().find("Sequence=0"), std::string::npos);
}

TEST_F(MenuCommandsTest, CheckForDatedUnitsRunsOnlyWithBothLinksOn) {
  trigger("Checkfordatedunits1");
  EXPECT_TRUE(dialogs.messages.empty());
  AmbrellLink = SequenceLink = true;
  trigger("Checkfordatedunits1");
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, "Checking for dated units completed");
}

}  // namespace
}  // namespace apptest
