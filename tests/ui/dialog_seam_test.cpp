// The standard message boxes and the handler guard, through a recording dialog seam.
#include "ui/dialog_seam.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <stdexcept>

#include "db_engine/errors.h"
#include "ui/handler_guard.h"
#include "ui_test_support.h"

namespace {

TEST(FullStopRule, AppendsOnlyAfterCharactersSortingAfterTheFullStop) {
  EXPECT_EQ(ui::withFullStop("X"), "X.");
  EXPECT_EQ(ui::withFullStop("Y!"), "Y!");
  EXPECT_EQ(ui::withFullStop("done."), "done.");
  EXPECT_EQ(ui::withFullStop("(see above)"), "(see above)");
  EXPECT_EQ(ui::withFullStop("a-"), "a-") << "'-' sorts before '.'";
  EXPECT_EQ(ui::withFullStop("path/"), "path/.") << "'/' sorts after '.'";
  EXPECT_EQ(ui::withFullStop("ratio:"), "ratio:.");
  EXPECT_EQ(ui::withFullStop(""), "");
}

TEST(MessageBoxes, CarryTheirKindAndCaption) {
  test::RecordingDialogs dialogs;
  ui::showWarning(nullptr, "Unable to update date for this record");
  ui::showInformation(nullptr, "Nothing to do");
  ui::showError(nullptr, "Broken");
  ASSERT_EQ(dialogs.messages.size(), 3u);
  EXPECT_EQ(dialogs.messages[0].kind, ui::MessageKind::Warning);
  EXPECT_EQ(dialogs.messages[0].caption, "Warning");
  EXPECT_EQ(dialogs.messages[0].text, "Unable to update date for this record") << "no full stop added";
  EXPECT_EQ(dialogs.messages[1].kind, ui::MessageKind::Information);
  EXPECT_EQ(dialogs.messages[1].caption, "Information");
  EXPECT_EQ(dialogs.messages[2].kind, ui::MessageKind::Error);
  EXPECT_EQ(dialogs.messages[2].caption, "VORL Database");
  EXPECT_EQ(dialogs.messages[2].text, "Broken.");
}

TEST(SaveFileQuestion, OffersTheTypesAndGivesATypedNameTheChosenTypesSuffix) {
  test::RecordingDialogs dialogs;
  QTemporaryDir folder;
  const QList<ui::FileType> types = {{"CSV files", "csv"}, {"JSON files", "json"}};
  dialogs.answer = [&](QDialog& dialog) {
    auto* files = qobject_cast<QFileDialog*>(&dialog);
    ASSERT_NE(files, nullptr);
    EXPECT_EQ(files->windowTitle(), "Export");
    EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(files->nameFilters(), QStringList({"CSV files (*.csv)", "JSON files (*.json)"}));
    auto* type = files->findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(type, nullptr);
    type->setCurrentIndex(1);
    emit type->activated(1);  // as the user's choice does
    emit type->textActivated(type->currentText());
    files->findChild<QLineEdit*>("fileNameEdit")->setText(folder.filePath("units"));
    static_cast<QDialog*>(files)->accept();
  };
  EXPECT_EQ(ui::askSaveFileName(nullptr, "Export", folder.filePath("start.csv"), types), folder.filePath("units.json"));
  dialogs.answer = [](QDialog& dialog) { dialog.reject(); };
  EXPECT_EQ(ui::askSaveFileName(nullptr, "Export", {}, types), QString());
  EXPECT_EQ(dialogs.executed, 2);
}

TEST(HandlerGuard, ShowsFailuresOnceAndNothingForASilentAbort) {
  test::RecordingDialogs dialogs;
  int finished = 0;
  ui::guarded(nullptr, [] { throw engine::SilentAbort(); });
  EXPECT_TRUE(dialogs.messages.empty());
  ui::guarded(nullptr,
              [] { throw engine::EngineError(engine::code::KeyViolation, "Key violation in table VORLLIST"); });
  ui::guarded(nullptr, [] { throw std::runtime_error("Y!"); });
  ui::guarded(nullptr, [] { throw 42; });
  ui::guarded(nullptr, [&] { ++finished; });
  ASSERT_EQ(dialogs.messages.size(), 3u);
  EXPECT_EQ(dialogs.messages[0].text, "Key violation in table VORLLIST.");
  EXPECT_EQ(dialogs.messages[0].caption, "VORL Database");
  EXPECT_EQ(dialogs.messages[0].kind, ui::MessageKind::Error);
  EXPECT_EQ(dialogs.messages[1].text, "Y!");
  EXPECT_EQ(dialogs.messages[2].text, "Unknown error.");
  EXPECT_EQ(finished, 1);
}

TEST(HandlerGuard, ShowsARealEngineFailure) {
  test::RecordingDialogs dialogs;
  test::UnitsFixture fixture(true);
  ui::guarded(nullptr, [&] { fixture.units->edit(); });
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_TRUE(dialogs.messages[0].text.contains("Units"));
  EXPECT_TRUE(dialogs.messages[0].text.endsWith('.'));
}

}  // namespace
