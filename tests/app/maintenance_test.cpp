// The editing password gate (asked once at start when "Sequence" is on) and the date stamp.
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app_test_support.h"
#include "db_engine/format_settings.h"
#include "db_engine/table.h"
#include "ui/data_controls.h"

namespace apptest {
namespace {

class PasswordGateTest : public MainWindowTest {
 protected:
  void startAnswering(std::function<int(QDialog&)> answer) {
    writeSettingsFile("[Other links]\nSequence=1\n");
    dialogs.answer = std::move(answer);
    createProgram();
    showWindow();
  }
  bool revealed() const {
    const bool shown = !find<QLabel>("lYears")->isHidden();
    EXPECT_EQ(!find<ui::DataEdit>("dbeYears")->isHidden(), shown);
    EXPECT_EQ(!find<QPushButton>("bbDateStamp")->isHidden(), shown);
    EXPECT_EQ(find<ui::DataGrid>("dbgSubUnit")->columnVisible(2), shown);
    EXPECT_EQ(find<ui::DataGrid>("dbgSubSubUnit")->columnVisible(2), shown);
    return shown;
  }
};

TEST_F(PasswordGateTest, TheExactPasswordRevealsTheYearsAndTheDateStamp) {
  startAnswering(typePassword("BoxFern"));
  EXPECT_EQ(dialogs.shownDialogs, std::vector<QString>({"fmGetEditPassword"}));
  EXPECT_TRUE(revealed());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PasswordGateTest, AnyOtherAnswerIsRefusedSilently) {
  const std::function<int(QDialog&)> answers[] = {
      typePassword("boxfern"), typePassword(" BoxFern"), typePassword("BoxFern "), typePassword(""),
      typePassword("BoxFern", QDialog::Rejected)};
  for (const auto& answer : answers) {
    TearDown();
    SetUp();
    startAnswering(answer);
    EXPECT_EQ(dialogs.shownDialogs.size(), 1u);
    EXPECT_FALSE(revealed());
    EXPECT_TRUE(dialogs.messages.empty());
  }
}

TEST_F(PasswordGateTest, WithoutSequenceThereIsNoPromptAndNothingIsRevealed) {
  dialogs.answer = typePassword("BoxFern");
  createProgram();
  showWindow();
  window->hide();
  window->show();  // the prompt comes once per run at most
  EXPECT_TRUE(dialogs.shownDialogs.empty());
  EXPECT_FALSE(revealed());
}

class DateStampTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    createProgram();
    showWindow();
    ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(unit::Dwyka)));
  }
  void stamp() { find<QPushButton>("bbDateStamp")->click(); }
  std::string today() const {
    return QDate::currentDate().toString(QString::fromStdString(engine::formatSettings().shortDateFormat)).toStdString();
  }
  // What the unit table holds, read through a cursor of its own.
  std::string stored(const char* field) const {
    engine::Table reader(*session, "reader");
    reader.setDatabaseName("VORL");
    reader.setTableName("VORLLIST.DB");
    reader.open();
    EXPECT_TRUE(reader.locate("Code", std::to_string(unit::Dwyka)));
    return reader.fieldByName(field).asString();
  }
};

TEST_F(DateStampTest, StampsTodayAndPostsAPendingNameChangeWithIt) {
  auto* name = find<ui::DataEdit>("DBEdit1");
  name->setFocus();
  QTest::keyClick(name, Qt::Key_End);
  QTest::keyClicks(name, " (tillite)");
  stamp();
  EXPECT_EQ(stored("DateModified"), today());
  EXPECT_EQ(stored("Name"), "Dwyka Group (tillite)");
  EXPECT_EQ(dmVORL->VORLList.state(), engine::DatasetState::Browse);
  stamp();  // twice on one day: the same date
  EXPECT_EQ(stored("DateModified"), today());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DateStampTest, ARefusedPostShowsTheWarningAndLeavesTheRowInEdit) {
  dmVORL->VORLList.edit();
  dmVORL->VORLList.fieldByName("AgeMinimum").setAsFloat(400);  // above the maximum: refused
  stamp();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].kind, ui::MessageKind::Warning);
  EXPECT_EQ(dialogs.messages[0].text, "Unable to update date for this record");
  EXPECT_EQ(dmVORL->VORLList.state(), engine::DatasetState::Edit);
  EXPECT_EQ(dmVORL->VORLList.fieldByName("DateModified").asString(), today());
  EXPECT_EQ(stored("DateModified"), "");
}

}  // namespace
}  // namespace apptest
