// The report selection window over a real lexicon: which file it opens and how it names it, the
// reports it lists in each mode, the report chosen at show and by a click, runs one after another,
// and a project file that is not there.
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "report_fixture.h"
#include "report_window_support.h"
#include "reports/report_selection_window.h"

namespace reports_test {
namespace {

using Root = reports::TReportData::Root;

QStringList entries(const QListWidget& list) {
  QStringList texts;
  for (int row = 0; row < list.count(); ++row) texts.append(list.item(row)->text());
  return texts;
}

class SelectionWindowTest : public ReportDataTest {
 protected:
  SelectionWindowTest() : previous_(QDir::currentPath()) { QDir::setCurrent(folder.path()); }
  ~SelectionWindowTest() override {
    window.reset();
    QDir::setCurrent(previous_);
  }

  // Creates and shows the window, as a print command does, over the given stored name.
  reports::TfmRep1& show(const QString& reportFileName, bool sequenceLink = false) {
    window = std::make_unique<reports::TfmRep1>(databases.session, dsVORLList,
                                                reports::ReportSettings{reportFileName, sequenceLink});
    window->show();
    QCoreApplication::processEvents();
    return *window;
  }
  void clickEntry(int row) {
    QListWidget& list = *window->ReportLB;
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(row)).center());
  }

  QTemporaryDir folder;
  ScriptedWindows dialogs;
  OnePrinter printer;
  std::unique_ptr<reports::TfmRep1> window;

 private:
  QString previous_;
};

const std::vector<ReportEntry> kTwoReports{{"First", "First report", "User", "The first one."},
                                           {"Second", "Second report", "User", "The second one."}};

TEST_F(SelectionWindowTest, AppendsTheExtensionOnlyToANameWithoutAnyDot) {
  writeFile(folder.filePath("reports.old/lexicon"), projectText(kTwoReports));
  writeFile(folder.filePath("plain/lexicon.rpd"), projectText(kTwoReports));
  const struct {
    QString stored, label;
  } cases[] = {{"reports.old/lexicon", "reports.old/lexicon"},  // the directory's dot counts
               {"plain/lexicon", "plain/lexicon.rpd"},
               {folder.filePath("plain/lexicon.rpd"), folder.filePath("plain/lexicon.rpd")}};
  for (const auto& [stored, label] : cases) {
    show(stored);
    EXPECT_EQ(window->lReportFileName->text(), label) << "relative names stay relative";
    EXPECT_EQ(entries(*window->ReportLB), QStringList({"First report", "Second report"})) << stored.toStdString();
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SelectionWindowTest, MissingFileIsReportedWithItsFullPathAndTheWindowStaysEmpty) {
  const QString here = QDir::currentPath();
  const struct {
    QString stored, label, path;
  } cases[] = {{"missing/lexicon", "missing/lexicon.rpd", here + "/missing/lexicon.rpd"},
               {"", ".rpd", here + "/.rpd"}};  // an empty name is accepted by the setting
  for (const auto& [stored, label, path] : cases) {
    dialogs.messages.clear();
    reports::TfmRep1& shown = show(stored);
    ASSERT_EQ(dialogs.messages.size(), 1u) << stored.toStdString();
    EXPECT_EQ(dialogs.messages[0].kind, ui::MessageKind::Error);
    EXPECT_EQ(dialogs.messages[0].caption, "VORL Database");
    EXPECT_EQ(dialogs.messages[0].text, "The following reporting project does not exist:\n\"" + path + "\"");
    EXPECT_TRUE(shown.isVisible());
    EXPECT_EQ(shown.lReportFileName->text(), label);
    EXPECT_EQ(shown.ReportLB->count(), 0);
    EXPECT_TRUE(shown.DescMemo->toPlainText().isEmpty());

    shown.bbPrint->click();  // nothing chosen: Select does nothing
    EXPECT_TRUE(dialogs.shown.isEmpty());
    EXPECT_EQ(dialogs.messages.size(), 1u);
    EXPECT_TRUE(shown.isVisible());
  }
}

TEST_F(SelectionWindowTest, ListsTheCategoriesOfTheModeInProjectOrder) {
  writeFile(folder.filePath("mixed.rpd"), projectText({{"Z", "Zeta", "User", ""},
                                                       {"A", "Alpha", "Developer", ""},
                                                       {"M", "Maintenance", "DeveloperUser", ""},
                                                       {"E", "Uncategorised", "", ""},
                                                       {"L", "lower case", "user", ""},
                                                       {"P", "Piece of user", "Use", ""},
                                                       {"G", "Geology", "Geology", ""}}));
  show("mixed.rpd", false);
  EXPECT_EQ(entries(*window->ReportLB), QStringList({"Zeta", "lower case", "Piece of user"}));
  show("mixed.rpd", true);
  EXPECT_EQ(entries(*window->ReportLB),
            QStringList({"Zeta", "Alpha", "Maintenance", "lower case", "Piece of user"}));
  EXPECT_EQ(window->ReportLB->currentRow(), 0);
  EXPECT_EQ(window->ReportProject1().activeReport()->name, "Z");
}

TEST_F(SelectionWindowTest, NoListedReportLeavesNothingChosen) {
  writeFile(folder.filePath("developer.rpd"), projectText({{"D", "Developer only", "Developer", "Hidden."}}));
  reports::TfmRep1& shown = show("developer");
  EXPECT_EQ(shown.ReportLB->count(), 0);
  EXPECT_EQ(shown.ReportProject1().activeReport(), nullptr);
  EXPECT_TRUE(shown.DescMemo->toPlainText().isEmpty());
  shown.bbPrint->click();
  EXPECT_TRUE(dialogs.shown.isEmpty());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(SelectionWindowTest, EnterAtOnceRunsTheFirstReportAndAnotherChoiceRunsAgain) {
  writeFile(folder.filePath("two.rpd"), projectText(kTwoReports));
  window = std::make_unique<reports::TfmRep1>(databases.session, dsVORLList, reports::ReportSettings{"two", false});
  window->data().open(Root::TopLevel);
  window->show();
  QCoreApplication::processEvents();
  EXPECT_EQ(window->DescMemo->toPlainText(), "The first one.");
  ASSERT_EQ(window->focusWidget(), window->bbPrint) << "Select has the focus";

  const QString first = folder.filePath("first.pdf"), second = folder.filePath("second.pdf");
  dialogs.on("ReportSetupForm", toFile(first));
  QTest::keyClick(window->focusWidget(), Qt::Key_Return);
  const QString firstText = pdfText(first);
  EXPECT_TRUE(firstText.contains("Report First"));
  EXPECT_TRUE(firstText.contains("Karoo Supergroup"));
  EXPECT_TRUE(firstText.contains("Oldest Group"));
  EXPECT_FALSE(firstText.contains("Earth-age Group")) << "at the bound of the views";
  EXPECT_FALSE(firstText.contains("Ecca Group")) << "not a top-level unit";
  ASSERT_TRUE(window->isVisible()) << "the window stays open for another run";

  clickEntry(1);
  EXPECT_EQ(window->DescMemo->toPlainText(), "The second one.");
  dialogs.on("ReportSetupForm", toFile(second));
  window->bbPrint->click();
  EXPECT_TRUE(pdfText(second).contains("Report Second"));
  EXPECT_EQ(dialogs.shown, QStringList({"ReportSetupForm", "ReportSetupForm"}));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->ReportLB->currentRow(), 1) << "the same report stays chosen";
}

TEST_F(SelectionWindowTest, EitherOfTwoReportsWithOneFullNameChoosesTheFirst) {
  writeFile(folder.filePath("twins.rpd"), projectText({{"Elder", "Twin", "User", "Elder twin."},
                                                       {"Other", "Single", "User", "Single."},
                                                       {"Younger", "Twin", "User", "Younger twin."}}));
  show("twins");
  clickEntry(1);
  EXPECT_EQ(window->DescMemo->toPlainText(), "Single.");
  clickEntry(2);
  EXPECT_EQ(window->ReportProject1().activeReport()->name, "Elder");
  EXPECT_EQ(window->DescMemo->toPlainText(), "Elder twin.");
}

TEST_F(SelectionWindowTest, TabGoesFromTheListToTheDescriptionSelectAndClose) {
  writeFile(folder.filePath("two.rpd"), projectText(kTwoReports));
  show("two");
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
  std::vector<QWidget*> visited;
  for (int step = 0; step < 4; ++step) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited.push_back(QApplication::focusWidget());
  }
  EXPECT_EQ(visited, (std::vector<QWidget*>{window->bbClose, window->ReportLB, window->DescMemo, window->bbPrint}));
}

}  // namespace
}  // namespace reports_test
