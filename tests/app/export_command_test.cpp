// File > Export through the dialog seam: the options dialog, the save-file question, progress that
// cancels, and the messages of a written and of an unwritable file.
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRadioButton>

#include "app/export_dialog.h"
#include "app_test_support.h"
#include "ui/data_controls.h"

namespace apptest {
namespace {

// Cancels every export at its first progress.
class CancellingDialogs : public ScriptedDialogs {
 public:
  bool progress(QProgressDialog& dialog, int) override {
    ++progressed;
    dialog.cancel();
    return !dialog.wasCanceled();
  }
  int progressed = 0;
};

class ExportCommandTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    createProgram();
    showWindow();
  }
  // Answers the options dialog with the given choices and the save-file question with name.
  void answerWith(bool allCountries, bool withdrawn, const QString& name, ScriptedDialogs& seam) {
    seam.answer = [=, this](QDialog& dialog) {
      if (auto* options = qobject_cast<TfmExport*>(&dialog)) {
        EXPECT_EQ(options->rbCurrentCountry->text(), "&Current country: " + countryName());
        (allCountries ? options->rbAllCountries : options->rbCurrentCountry)->setChecked(true);
        options->cbWithdrawn->setChecked(withdrawn);
        return int(QDialog::Accepted);
      }
      auto* files = qobject_cast<QFileDialog*>(&dialog);
      if (!files) return int(QDialog::Rejected);
      files->setOption(QFileDialog::DontConfirmOverwrite);  // as if the user agreed to replace
      files->findChild<QLineEdit*>("fileNameEdit")->setText(directory.filePath(name));
      static_cast<QDialog*>(files)->accept();
      return files->result();
    };
  }
  QString countryName() const { return find<ui::DataLookupList>("dblcbCountry")->currentText(); }
  void exportUnits() { find<QAction>("Export1")->trigger(); }
  std::vector<int> exportedCodes(const QString& name) const {
    QFile file(directory.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    std::vector<int> codes;
    for (const QJsonValue& unit : QJsonDocument::fromJson(file.readAll()).array()) codes.push_back(unit["Code"].toInt());
    std::sort(codes.begin(), codes.end());
    return codes;
  }
};

TEST_F(ExportCommandTest, WritesTheChosenUnitsIntoTheChosenFile) {
  answerWith(false, false, "za.json", dialogs);
  exportUnits();
  EXPECT_EQ(dialogs.shownDialogs, (std::vector<QString>{"fmExport", "SaveFileDialog"}));
  EXPECT_EQ(exportedCodes("za.json"), (std::vector<int>{unit::Karoo, unit::Dwyka, unit::Elandsvlei, unit::Mbizane,
                                                        unit::Ecca, unit::Collingham, unit::Kalkrand,
                                                        unit::Matjiesfontein}));
  EXPECT_EQ(messageTexts(), std::vector<QString>{"8 units exported to " + directory.filePath("za.json") + "."});

  find<ui::DataLookupList>("dblcbCountry")->setKeyValue("NA");
  answerWith(false, false, "na.json", dialogs);
  exportUnits();
  EXPECT_EQ(exportedCodes("na.json"), (std::vector<int>{unit::Aranos, unit::Nama, unit::Kuibis}));
  answerWith(true, true, "all.csv", dialogs);
  exportUnits();
  EXPECT_EQ(messageTexts().back(), "13 units exported to " + directory.filePath("all.csv") + ".");
  EXPECT_TRUE(QFile::exists(directory.filePath("all.csv")));
}

TEST_F(ExportCommandTest, CancelledOptionsOrProgressWriteNothing) {
  dialogs.answer = [](QDialog&) { return int(QDialog::Rejected); };
  exportUnits();
  EXPECT_EQ(dialogs.shownDialogs, std::vector<QString>{"fmExport"});

  CancellingDialogs cancelling;
  ui::setDialogs(&cancelling);
  QFile existing(directory.filePath("units.csv"));
  ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
  existing.write("kept");
  existing.close();
  answerWith(true, true, "units.csv", cancelling);
  exportUnits();
  answerWith(true, true, "new.json", cancelling);
  exportUnits();
  ui::setDialogs(&dialogs);
  EXPECT_EQ(cancelling.progressed, 2);
  EXPECT_TRUE(cancelling.messages.empty());
  ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
  EXPECT_EQ(existing.readAll(), "kept");
  EXPECT_FALSE(QFile::exists(directory.filePath("new.json")));
}

TEST_F(ExportCommandTest, AnUnwritableFileIsReportedAndAnotherExtensionAskedAgain) {
  int asked = 0;
  dialogs.answer = [&](QDialog& dialog) {
    if (qobject_cast<TfmExport*>(&dialog)) return int(QDialog::Accepted);
    auto* files = qobject_cast<QFileDialog*>(&dialog);
    if (!files || ++asked > 2) return int(QDialog::Rejected);
    files->findChild<QLineEdit*>("fileNameEdit")->setText(directory.filePath(asked == 1 ? "units.txt" : "missing/units.csv"));
    static_cast<QDialog*>(files)->accept();
    return files->result();
  };
  exportUnits();
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[0].caption, "Warning");
  EXPECT_EQ(dialogs.messages[0].text, "Choose a file name ending in .csv or .json.");
  EXPECT_EQ(dialogs.messages[1].caption, "VORL Database");
  EXPECT_EQ(dialogs.messages[1].text, "Unable to write to " + directory.filePath("missing/units.csv") + ".");
}

}  // namespace
}  // namespace apptest
