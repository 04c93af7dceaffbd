// Edit box, memo, check box and text over a real unit table.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QTest>
#include <functional>

#include "db_engine/dataset.h"
#include "db_engine/errors.h"
#include "db_engine/field.h"
#include "ui/data_controls.h"
#include "ui_test_support.h"

namespace {

using engine::DatasetState;

void loseFocus(QWidget& widget) {
  QFocusEvent event(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(&widget, &event);
}

void replaceText(QLineEdit& edit, const QString& text) {
  edit.selectAll();
  QTest::keyClicks(&edit, text);
}

std::string storedName(test::TestDatabase& database, int code) {
  auto reader = database.table("Reader", "UNITS.DB");
  reader->open();
  reader->locate("Code", std::to_string(code));
  return reader->fieldByName("Name").asString();
}

class FieldControls : public ::testing::Test, public test::UnitsFixture {
 protected:
  engine::Dataset& units() { return *UnitsFixture::units; }
  test::RecordingDialogs dialogs;
};

TEST_F(FieldControls, EditBoxFollowsTheCursorAndTheDatasetsLife) {
  ui::DataEdit name(nullptr, &source, "Name");
  ui::DataEdit years(nullptr, &source, "Years");
  EXPECT_EQ(name.text(), "Alpha");
  EXPECT_EQ(years.text(), "1234.50") << "an unfocused box shows the display text";
  units().next();
  EXPECT_EQ(name.text(), "Beta");
  EXPECT_EQ(years.text(), "");
  units().close();
  EXPECT_EQ(name.text(), "");
  EXPECT_TRUE(name.isReadOnly());
  units().open();
  EXPECT_EQ(name.text(), "Alpha");
  EXPECT_FALSE(name.isReadOnly());
}

TEST_F(FieldControls, TypingEditsTheDatasetAndAPostStoresTheText) {
  ui::DataEdit name(nullptr, &source, "Name");
  replaceText(name, "Delta");
  EXPECT_EQ(units().state(), DatasetState::Edit);
  EXPECT_EQ(name.text(), "Delta") << "entering edit mode must not repaint over the typing";
  units().post();
  EXPECT_EQ(units().state(), DatasetState::Browse);
  EXPECT_EQ(storedName(database, 1), "Delta");
  EXPECT_EQ(name.text(), "Delta");
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(FieldControls, PendingTextIsPostedWhenTheCursorMoves) {
  ui::DataEdit name(nullptr, &source, "Name");
  replaceText(name, "Moved");
  units().next();
  EXPECT_EQ(name.text(), "Beta");
  EXPECT_EQ(storedName(database, 1), "Moved");
}

TEST_F(FieldControls, LongTextIsCutToTheFieldSizeVisibly) {
  ui::DataEdit name(nullptr, &source, "Name");
  replaceText(name, "Abcdefghijklmnop");
  QTest::keyClick(&name, Qt::Key_Return);
  EXPECT_EQ(name.text(), "Abcdefghij") << "Enter writes the text; the box shows what the field kept";
  units().post();
  EXPECT_EQ(name.text(), "Abcdefghij");
  EXPECT_EQ(storedName(database, 1), "Abcdefghij");
}

TEST_F(FieldControls, FocusOutWritesAndEscapeCancels) {
  ui::DataEdit name(nullptr, &source, "Name");
  replaceText(name, "Written");
  loseFocus(name);
  EXPECT_EQ(units().fieldByName("Name").asString(), "Written");
  QTest::keyClick(&name, Qt::Key_Escape);
  EXPECT_EQ(units().state(), DatasetState::Browse);
  EXPECT_EQ(name.text(), "Alpha");
  EXPECT_EQ(storedName(database, 1), "Alpha");
}

TEST_F(FieldControls, BadTextShowsTheEngineErrorAndStaysForCorrection) {
  ui::DataEdit code(nullptr, &source, "Code");
  replaceText(code, "abc");
  loseFocus(code);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].kind, ui::MessageKind::Error);
  EXPECT_EQ(dialogs.messages[0].caption, "VORL Database");
  EXPECT_TRUE(dialogs.messages[0].text.contains("abc"));
  EXPECT_TRUE(dialogs.messages[0].text.endsWith('.'));
  EXPECT_EQ(code.text(), "abc");
  replaceText(code, "42");
  loseFocus(code);
  units().post();
  EXPECT_EQ(units().fieldByName("Code").asInteger(), 42);
}

TEST_F(FieldControls, EmptyDatasetShowsNothing) {
  ui::DataEdit name(nullptr, &source, "Name");
  units().setFilter("Code>100");
  units().setFiltered(true);
  EXPECT_EQ(name.text(), "");
}

TEST_F(FieldControls, CheckBoxStoresTrueAndFalse) {
  ui::DataCheckBox dated(nullptr, &source, "Dated", "Dated");
  EXPECT_TRUE(dated.isChecked());
  units().next();
  EXPECT_FALSE(dated.isChecked());
  dated.click();
  EXPECT_TRUE(dated.isChecked());
  EXPECT_EQ(units().state(), DatasetState::Edit);
  EXPECT_EQ(units().fieldByName("Dated").asString(), "True");
  units().post();
  units().next();  // "Gamma": empty reads unchecked
  EXPECT_FALSE(dated.isChecked());
  dated.click();
  dated.click();
  EXPECT_EQ(units().fieldByName("Dated").asString(), "False");
}

TEST_F(FieldControls, CheckBoxOnATextFieldWritesTheWords) {
  ui::DataCheckBox flag(nullptr, &source, "Rank", "Flag");
  EXPECT_FALSE(flag.isChecked()) << "\"Group\" is not \"True\"";
  flag.click();
  EXPECT_EQ(units().fieldByName("Rank").asString(), "True");
  flag.click();
  EXPECT_EQ(units().fieldByName("Rank").asString(), "False");
}

TEST_F(FieldControls, MemoEditsItsFieldAndTextDisplaysPlainly) {
  ui::DataMemo notes(nullptr, &source, "Notes");
  ui::DataText shown(nullptr, &source, "Name");
  EXPECT_EQ(notes.toPlainText(), "First notes");
  EXPECT_EQ(notes.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  notes.setPlainText("Line one\nLine two");  // as typing would
  EXPECT_EQ(units().state(), DatasetState::Edit);
  loseFocus(notes);
  units().fieldByName("Name").setAsString("<b>Bo</b>");
  EXPECT_EQ(shown.text(), "<b>Bo</b>");
  EXPECT_EQ(shown.textFormat(), Qt::PlainText);
  units().post();
  units().next();
  EXPECT_EQ(notes.toPlainText(), "Second notes");
  units().prior();
  EXPECT_EQ(notes.toPlainText(), "Line one\nLine two");
}

class ReadOnlyFieldControls : public ::testing::Test, public test::UnitsFixture {
 protected:
  ReadOnlyFieldControls() : UnitsFixture(true) {}
  test::RecordingDialogs dialogs;
};

TEST_F(ReadOnlyFieldControls, RefuseTypingAndToggling) {
  ui::DataEdit name(nullptr, &source, "Name");
  ui::DataCheckBox dated(nullptr, &source, "Dated", "Dated");
  EXPECT_TRUE(name.isReadOnly());
  replaceText(name, "Changed");
  dated.click();
  EXPECT_EQ(name.text(), "Alpha");
  EXPECT_TRUE(dated.isChecked());
  EXPECT_EQ(units->state(), DatasetState::Browse);
  EXPECT_TRUE(dialogs.messages.empty());
}

// A unit table whose every row read fails while busy, as a locked database file does.
class BusyUnits : public engine::Table {
 public:
  using engine::Table::Table;
  bool busy = false;

 protected:
  const engine::Row& readRow(std::size_t row) const override {
    if (busy) {
      throw engine::EngineError(engine::code::Storage, "database is locked");
    }
    return engine::Table::readRow(row);
  }
};

class BusyFieldControls : public ::testing::Test {
 protected:
  BusyFieldControls() {
    database.addUnits({{1, "Alpha", "Group", "True", "1234.5", "First notes"}});
    units.setDatabaseName("TEST");
    units.setTableName("UNITS.DB");
    source.setDataset(&units);
    units.open();
  }
  void focus(QWidget& widget, QEvent::Type type) {
    QFocusEvent event(type, Qt::TabFocusReason);
    QApplication::sendEvent(&widget, &event);
  }
  // Each event reaches its handler while the database is busy: one error box, and on it goes.
  void expectReportedOnce(const std::function<void()>& event) {
    dialogs.messages.clear();
    units.busy = true;
    EXPECT_NO_THROW(event());
    units.busy = false;
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, "VORL Database");
    EXPECT_EQ(dialogs.messages[0].text, "database is locked.");
  }
  test::TestDatabase database;
  BusyUnits units{database.session(), "Units"};
  engine::DataSource source{"dsUnits"};
  test::RecordingDialogs dialogs;
};

TEST_F(BusyFieldControls, FocusAndToggleHandlersReportAFailingDatabase) {
  ui::DataEdit name(nullptr, &source, "Name");
  ui::DataMemo notes(nullptr, &source, "Notes");
  ui::DataCheckBox dated(nullptr, &source, "Dated", "Dated");
  expectReportedOnce([&] { focus(name, QEvent::FocusIn); });
  expectReportedOnce([&] { focus(name, QEvent::FocusOut); });
  expectReportedOnce([&] { focus(notes, QEvent::FocusIn); });
  expectReportedOnce([&] { dated.click(); });
  EXPECT_EQ(name.text(), "Alpha") << "the box still shows the row once the database answers";
  focus(name, QEvent::FocusIn);
  EXPECT_EQ(name.text(), "Alpha");
  EXPECT_EQ(dialogs.messages.size(), 1u) << "no further message once the database answers";
}

TEST_F(FieldControls, ClosingAWindowWithPendingTextPostsNothing) {
  auto window = std::make_unique<QWidget>();
  auto* name = new ui::DataEdit(window.get(), &source, "Name");
  window->show();
  name->setFocus();
  replaceText(*name, "Unposted");
  window.reset();
  EXPECT_EQ(storedName(database, 1), "Alpha");
  EXPECT_NE(units().state(), DatasetState::Browse) << "the edit stays pending for its dataset to settle";
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST(ControlLifetime, ControlsOutlivingTheirDataSourceLetItGo) {
  test::UnitsFixture fixture;
  auto source = std::make_unique<engine::DataSource>("dsOther", fixture.units.get());
  ui::DataEdit name(nullptr, source.get(), "Name");
  ui::DataGrid grid(nullptr, source.get(), {});
  ui::DataNavigator navigator(nullptr, source.get(), {ui::NavigatorButton::Next});
  ui::DataLookupList list(nullptr, source.get(), "Code", "Name");
  source.reset();
  fixture.units->next();
  EXPECT_EQ(name.text(), "");
  EXPECT_EQ(grid.model()->rowCount(), 0);
  EXPECT_FALSE(navigator.button(ui::NavigatorButton::Next)->isEnabled());
  EXPECT_EQ(list.count(), 0);
}

}  // namespace
