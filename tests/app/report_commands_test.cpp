// The report commands of the main window: Options > Report definition file, and File > Print and
// Print all with the report selection window shown modally over the report datasets.
#include <QAction>
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <algorithm>
#include <deque>
#include <map>

#include "app/vorl_varb.h"
#include "app_test_support.h"
#include "data/dm_vorl.h"
#include "report_engine/data_connection.h"
#include "report_engine/printers.h"
#include "report_engine/report_preview_form.h"
#include "reports/report_window_support.h"
#include "reports/report_definition_dialog.h"
#include "reports/report_selection_window.h"

namespace apptest {
namespace {

using reports_test::Answer;
using reports_test::OnePrinter;
using reports_test::pdfText;

std::vector<int> rootCodes(reports::TfmRep1& window) {
  engine::Query& root = window.data().ReportQuery1;
  std::vector<int> codes;
  for (root.first(); !root.eof(); root.next()) codes.push_back(static_cast<int>(root.fieldByName("Code").asInteger()));
  std::sort(codes.begin(), codes.end());
  return codes;
}

bool selectionWindowExists() {
  for (QWidget* window : QApplication::allWidgets())
    if (qobject_cast<reports::TfmRep1*>(window)) return true;
  return false;
}

QStringList entries(const reports::TfmRep1& window) {
  QStringList texts;
  for (int row = 0; row < window.ReportLB->count(); ++row) texts.append(window.ReportLB->item(row)->text());
  return texts;
}

void pressEnter(QDialog& dialog) {
  QTest::keyClick(dialog.focusWidget() ? dialog.focusWidget() : &dialog, Qt::Key_Return);
}

class ReportCommandsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    writeSettingsFile("[Report setup]\nReport file=" VORL_SAMPLE_DIR "/reports/VORL.rpd\n");  // the bundled project
    dialogs.answer = [this](QDialog& dialog) { return reports_test::answerByName(dialog, script); };
  }
  void start(const std::string& configuration) {
    createProgram(configuration);
    showWindow();
    ASSERT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text.toStdString();
  }
  void trigger(const char* item) { find<QAction>(item)->trigger(); }
  void on(const QString& name, Answer answer) { script[name].push_back(std::move(answer)); }
  // Opens the definition file dialog, checks what it shows, lets edit act on it.
  void changeFileName(const std::function<void(reports::TfmReportDef&)>& edit) {
    on("fmReportDef", [edit](QDialog& dialog) { edit(static_cast<reports::TfmReportDef&>(dialog)); });
    trigger("Reportdefinitionfile1");
  }

  reports_test::AnswerScript script;
};

TEST_F(ReportCommandsTest, DefinitionFileDialogShowsTheNameAsStoredAndEnterKeepsIt) {
  writeSettingsFile("[Report setup]\nReport file=reports/lexicon\n");
  start(smallDatabases());
  QString shown;
  changeFileName([&](reports::TfmReportDef& dialog) {
    EXPECT_EQ(dialog.parentWidget(), window.get());
    EXPECT_EQ(dialog.windowTitle(), "Report definition file");
    shown = dialog.eReportFileName->text();
    ASSERT_EQ(dialog.focusWidget(), dialog.bbOK);
    QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
  });
  EXPECT_EQ(shown, "reports/lexicon") << "without the extension the selection window adds";
  EXPECT_EQ(ReportFileName, "reports/lexicon");
  EXPECT_TRUE(window->findChildren<reports::TfmReportDef*>().isEmpty()) << "destroyed after closing";
}

TEST_F(ReportCommandsTest, DefinitionFileNameIsTakenAsTypedOnlyOnOk) {
  start(smallDatabases());
  ReportFileName = "/data/VORL.rpd";
  const std::function<void(reports::TfmReportDef&)> closings[] = {
      [](reports::TfmReportDef& dialog) { dialog.BitBtn2->click(); },
      [](reports::TfmReportDef& dialog) { QTest::keyClick(dialog.eReportFileName, Qt::Key_Escape); },
      [](reports::TfmReportDef& dialog) { dialog.close(); },  // the close box
  };
  for (const auto& close : closings) {
    changeFileName([&](reports::TfmReportDef& dialog) {
      dialog.eReportFileName->setText("/elsewhere/other.rpd");
      close(dialog);
    });
    EXPECT_EQ(ReportFileName, "/data/VORL.rpd");
  }
  for (const std::string typed : {"  /data/new reports/lexicon ", ""}) {
    changeFileName([&](reports::TfmReportDef& dialog) {
      dialog.eReportFileName->setText(QString::fromStdString(typed));
      dialog.bbOK->click();
    });
    EXPECT_EQ(ReportFileName, typed);
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(ReportCommandsTest, ChangedDefinitionFileIsWrittenAtCloseAndReadAtTheNextStart) {
  start(smallDatabases());
  changeFileName([](reports::TfmReportDef& dialog) {
    dialog.eReportFileName->setText("/data/new reports/lexicon");
    dialog.bbOK->click();
  });
  window->close();
  EXPECT_NE(readSettingsFile().find("Report file=/data/new reports/lexicon\n"), std::string::npos);
  ReportFileName.clear();
  window->ReadSettings();
  EXPECT_EQ(ReportFileName, "/data/new reports/lexicon");
}

TEST_F(ReportCommandsTest, PrintAndPrintAllShowTheWindowModallyOverTheirRoots) {
  start(smallDatabases());
  ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(unit::Dwyka)));
  const std::size_t position = dmVORL->VORLList.recNo();
  const struct {
    const char* item;
    std::vector<int> rows;
  } commands[] = {{"Print1", {unit::Dwyka}},
                  {"Printall1", {unit::Karoo, unit::Nama, 300}}};  // every country's top-level units
  for (const auto& [item, rows] : commands) {
    bool blocked = false;
    std::vector<int> listed;
    on("fmRep1", [&](QDialog& dialog) {
      auto& selection = static_cast<reports::TfmRep1&>(dialog);
      EXPECT_EQ(selection.parentWidget(), window.get());
      EXPECT_EQ(QApplication::activeModalWidget(), &selection);
      // Through the window system, as a user's click comes; the modal window keeps it from Exit.
      auto* exit = find<QToolButton>("bbExit");
      QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, exit->mapTo(window.get(), exit->rect().center()));
      blocked = window->isVisible();
      listed = rootCodes(selection);
      selection.bbClose->click();
    });
    trigger(item);
    EXPECT_TRUE(blocked) << item;
    EXPECT_EQ(listed, rows) << item;
  }
  EXPECT_EQ(dialogs.shownDialogs, std::vector<QString>({"fmRep1", "fmRep1"}));
  EXPECT_EQ(currentCode(), unit::Dwyka);
  EXPECT_EQ(dmVORL->VORLList.recNo(), position);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_FALSE(selectionWindowExists());
}

TEST_F(ReportCommandsTest, PrintOfAWithdrawnOrMissingUnitHasNoRootRow) {
  const std::string configuration = createDatabases(directory.filePath("lesotho"), [](engine::Session& filler) {
    fillSmallLexicon(filler);
    appendRows(filler, "VORL", "CountryList.db", {"CountryID", "CountryName"}, {{"LS", "Lesotho"}});
  });
  start(configuration);
  std::vector<std::vector<int>> listed;
  auto list = [&](QDialog& dialog) { listed.push_back(rootCodes(static_cast<reports::TfmRep1&>(dialog))); };

  ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(unit::Ecca)));
  // Edited behind the window's back: the window still shows the unit, the database has it withdrawn.
  executeOn(configuration, "VORL", "UPDATE VORLLIST SET Years=4600000000 WHERE Code=120");
  ASSERT_EQ(currentCode(), unit::Ecca);
  on("fmRep1", list);
  trigger("Print1");

  ASSERT_TRUE(dmVORL->CountryList.locate("CountryID", "LS"));
  ASSERT_TRUE(dmVORL->VORLList.isEmpty());
  on("fmRep1", list);
  trigger("Print1");
  EXPECT_EQ(listed, (std::vector<std::vector<int>>{{}, {}}));
  EXPECT_TRUE(dialogs.messages.empty());
}

struct DatasetState {
  bool active;
  std::size_t position;
  bool operator==(const DatasetState&) const = default;
};

std::vector<DatasetState> statesOf(const data::TdmVORL& module) {
  std::vector<DatasetState> states;
  for (const engine::Dataset* dataset : module.datasets())
    states.push_back({dataset->active(), dataset->active() ? dataset->recNo() : 0});
  return states;
}

// As a user walks it over the sample lexicon and the bundled project: the unit sheet of the
// current unit in the preview, the hierarchy of every top-level unit into a PDF file, then another
// project named through the Options menu.
TEST_F(ReportCommandsTest, WholePathOverTheSampleLexicon) {
  OnePrinter printer;
  start(copySampleDatabases(directory.filePath("sample")));
  ASSERT_TRUE(dmVORL->VORLList.locate("Code", "1000"));  // Karoo Supergroup
  const std::vector<DatasetState> before = statesOf(*dmVORL);

  QStringList listed;
  int previewPages = 0;
  on("fmRep1", [&](QDialog& dialog) {
    auto& selection = static_cast<reports::TfmRep1&>(dialog);
    listed = entries(selection);
    pressEnter(selection);  // Select has the focus, the unit sheet is chosen
    selection.bbClose->click();
  });
  on("ReportSetupForm", pressEnter);  // the preview is the default destination
  on("ReportPreviewForm", [&](QDialog& dialog) {
    previewPages = static_cast<reporting::TReportPreviewForm&>(dialog).pageCount();
    dialog.reject();
  });
  trigger("Print1");
  EXPECT_EQ(listed.join(" / ").toStdString(), "Unit sheet / Hierarchy of units / Units by area of occurrence");
  EXPECT_GE(previewPages, 1);

  const QString pdf = directory.filePath("hierarchy.pdf");
  on("fmRep1", [&](QDialog& dialog) {
    auto& selection = static_cast<reports::TfmRep1&>(dialog);
    QListWidget& list = *selection.ReportLB;
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(1)).center());
    selection.bbPrint->click();
    selection.bbClose->click();
  });
  on("ReportSetupForm", reports_test::toFile(pdf));
  trigger("Printall1");
  const QString text = pdfText(pdf);
  EXPECT_TRUE(text.contains("Hierarchy of stratigraphic units")) << "the report clicked, not the first";
  for (const char* unit : {"Karoo Supergroup", "Ecca Group", "Witwatersrand Supergroup", "West Rand Group",
                           "Nama Group", "Bushveld Complex"}) {
    EXPECT_TRUE(text.contains(unit)) << unit;
  }
  for (const char* withdrawn : {"Hospital Hill Series", "Swaziland Supergroup"}) EXPECT_FALSE(text.contains(withdrawn));
  EXPECT_EQ(statesOf(*dmVORL), before) << "the main window's datasets are as they were";
  EXPECT_EQ(currentCode(), 1000);

  const QString other = directory.filePath("other.reports/lexicon");  // used as it stands: a dot in its path
  {
    QFile bundled(QStringLiteral(VORL_SAMPLE_DIR "/reports/VORL.rpd"));
    ASSERT_TRUE(bundled.open(QIODevice::ReadOnly));
    const QString project = QString::fromUtf8(bundled.readAll()).replace("\"Unit sheet\"", "\"Sheet of one unit\"");
    QDir().mkpath(directory.filePath("other.reports"));
    QFile copy(other);
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
    copy.write(project.toUtf8());
  }
  changeFileName([&](reports::TfmReportDef& dialog) {
    dialog.eReportFileName->setText(other);
    dialog.bbOK->click();
  });
  on("fmRep1", [&](QDialog& dialog) { listed = entries(static_cast<reports::TfmRep1&>(dialog)); });
  trigger("Print1");
  EXPECT_EQ(listed.value(0), "Sheet of one unit");
  EXPECT_TRUE(dialogs.messages.empty()) << dialogs.messages[0].text.toStdString();
}

// Records whether the report selection window still existed when the error was shown.
class CleanUpWitness : public ScriptedDialogs {
 public:
  void message(QWidget* parent, ui::MessageKind kind, const QString& caption, const QString& text) override {
    windowLeft = selectionWindowExists();
    connectionLeft = reporting::connections().find("RPdscList2") != nullptr;
    ScriptedDialogs::message(parent, kind, caption, text);
  }
  bool windowLeft = true;
  bool connectionLeft = true;
};

TEST_F(ReportCommandsTest, DatasetThatCannotOpenIsReportedAfterTheCleanUp) {
  const std::string configuration = smallDatabases();
  start(configuration);
  ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(unit::Ecca)));
  executeOn(configuration, "VORL", "DROP TABLE CodeArea");
  CleanUpWitness witness;
  witness.answer = dialogs.answer;
  ui::setDialogs(&witness);
  trigger("Printall1");
  ui::setDialogs(&dialogs);

  ASSERT_EQ(witness.messages.size(), 1u);
  EXPECT_EQ(witness.messages[0].kind, ui::MessageKind::Error);
  EXPECT_EQ(witness.messages[0].caption, "VORL Database");
  EXPECT_TRUE(witness.messages[0].text.contains("CodeArea")) << witness.messages[0].text.toStdString();
  EXPECT_FALSE(witness.windowLeft) << "the window was gone before the message";
  EXPECT_FALSE(witness.connectionLeft) << "and its connections with it";
  EXPECT_TRUE(witness.shownDialogs.empty()) << "the window was never shown";
  EXPECT_EQ(currentCode(), unit::Ecca);
  EXPECT_TRUE(window->isEnabled());
  EXPECT_TRUE(dmVORL->VORLList.active());
}

}  // namespace
}  // namespace apptest
