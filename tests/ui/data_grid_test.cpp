// The grid over a real unit table: columns as declared, the cursor shared both ways, cell edits.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "db_engine/dataset.h"
#include "db_engine/field.h"
#include "ui/data_controls.h"
#include "ui/dataset_model.h"
#include "ui_test_support.h"

namespace {

using engine::DatasetState;

std::vector<ui::GridColumn> unitColumns() {
  return {{.fieldName = "Name", .title = "Unit name", .width = 120},
          {.fieldName = "Rank", .width = 72},
          {.fieldName = "Years", .width = 90, .visible = false}};
}

class DataGridTest : public ::testing::Test, public test::UnitsFixture {
 protected:
  engine::Dataset& units() { return *UnitsFixture::units; }
  QString cell(int row, int column) const { return grid.model()->data(grid.model()->index(row, column)).toString(); }
  test::RecordingDialogs dialogs;
  ui::DataGrid grid{nullptr, &source, unitColumns()};
};

TEST_F(DataGridTest, ShowsRowsUnderDeclaredTitlesWidthsAndHiddenColumns) {
  const QAbstractItemModel& model = *grid.model();
  ASSERT_EQ(model.rowCount(), 3);
  ASSERT_EQ(model.columnCount(), 3);
  EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Unit name");
  EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), "Rank") << "no title: the field name";
  EXPECT_EQ(cell(1, 0), "Beta");
  EXPECT_EQ(cell(0, 2), "1234.50") << "cells show the display format";
  EXPECT_EQ(grid.columnWidth(0), 120);
  EXPECT_EQ(grid.columnWidth(1), 72);
  EXPECT_TRUE(grid.isColumnHidden(2));
  EXPECT_FALSE(grid.columnVisible(2));
}

TEST_F(DataGridTest, ColumnSettingsSurviveTheRowsBeingReadAnew) {
  grid.setColumnVisible(2, true);
  grid.setColumnWidth(1, 50);  // as the user drags it
  units().refresh();
  units().close();
  units().open();
  EXPECT_FALSE(grid.isColumnHidden(2));
  EXPECT_EQ(grid.columnWidth(0), 120);
  EXPECT_EQ(grid.columnWidth(1), 50);
  grid.setColumnVisible(2, false);
  units().refresh();
  EXPECT_TRUE(grid.isColumnHidden(2));
}

TEST_F(DataGridTest, ChoosingARowMovesTheDatasetAndMovingTheDatasetMovesTheView) {
  ui::DataEdit name(nullptr, &source, "Name");
  EXPECT_EQ(grid.currentIndex().row(), 0);
  grid.setCurrentIndex(grid.model()->index(2, 1));
  EXPECT_EQ(units().recNo(), 2u);
  EXPECT_EQ(name.text(), "Gamma");
  units().first();
  EXPECT_EQ(grid.currentIndex().row(), 0);
  units().locate("Name", "Beta");
  EXPECT_EQ(grid.currentIndex().row(), 1);
  EXPECT_EQ(grid.currentIndex().column(), 1) << "the view keeps its column";
  units().close();
  EXPECT_EQ(grid.model()->rowCount(), 0);
  EXPECT_FALSE(grid.currentIndex().isValid());
}

TEST_F(DataGridTest, CellEditsGoThroughTheDatasetAndPostOnLeavingTheRow) {
  ASSERT_TRUE(grid.model()->flags(grid.model()->index(1, 0)) & Qt::ItemIsEditable);
  grid.setCurrentIndex(grid.model()->index(1, 0));
  ASSERT_TRUE(grid.model()->setData(grid.model()->index(1, 0), "Zeta"));
  EXPECT_EQ(units().state(), DatasetState::Edit);
  EXPECT_EQ(cell(1, 0), "Zeta");
  grid.setCurrentIndex(grid.model()->index(0, 0));
  EXPECT_EQ(units().state(), DatasetState::Browse);
  units().locate("Code", "2");
  EXPECT_EQ(units().fieldByName("Name").asString(), "Zeta");
}

TEST_F(DataGridTest, TypingInACellEditsTheRowAndAPostTakesTheOpenEditorsText) {
  grid.show();
  grid.setCurrentIndex(grid.model()->index(1, 0));
  QTest::keyClicks(&grid, "Q");
  auto* editor = grid.viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "Q");
  EXPECT_EQ(units().state(), DatasetState::Edit) << "the navigator's Post is offered while the editor is open";
  units().post();
  units().locate("Code", "2");
  EXPECT_EQ(units().fieldByName("Name").asString(), "Q");
}

TEST_F(DataGridTest, EscapeInAnUnchangedCellEndsTheRowsEdit) {
  grid.show();
  grid.setCurrentIndex(grid.model()->index(0, 0));
  QTest::keyClick(&grid, Qt::Key_F2);
  ASSERT_EQ(units().state(), DatasetState::Edit);
  auto* editor = grid.viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  QTest::keyClick(editor, Qt::Key_Escape);
  EXPECT_EQ(units().state(), DatasetState::Browse);
}

TEST_F(DataGridTest, ARefusedCellEditShowsTheErrorAndLeavesTheRow) {
  units().last();
  EXPECT_FALSE(grid.model()->setData(grid.model()->index(2, 2), "not a number"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].caption, "VORL Database");
  EXPECT_EQ(cell(2, 2), "77.00");
}

TEST_F(DataGridTest, AReadOnlyGridOffersNoEditing) {
  grid.setReadOnly(true);
  EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, 0)) & Qt::ItemIsEditable);
  EXPECT_FALSE(grid.model()->setData(grid.model()->index(0, 0), "Nope"));
  EXPECT_EQ(units().state(), DatasetState::Browse);
}

TEST_F(DataGridTest, InsertedAndDeletedRowsAppearAndGo) {
  units().first();
  units().insert();
  ASSERT_EQ(grid.model()->rowCount(), 4) << "the row being inserted shows";
  EXPECT_EQ(grid.currentIndex().row(), 0);
  EXPECT_EQ(grid.model()->headerData(0, Qt::Vertical).toString(), "*");
  EXPECT_EQ(cell(1, 0), "Alpha");
  units().cancel();
  EXPECT_EQ(grid.model()->rowCount(), 3);
  EXPECT_EQ(cell(0, 0), "Alpha");
  units().append();
  units().fieldByName("Code").setAsInteger(9);
  units().fieldByName("Name").setAsString("Omega");
  units().post();
  ASSERT_EQ(grid.model()->rowCount(), 4);
  EXPECT_EQ(cell(grid.currentIndex().row(), 0), "Omega");
  units().deleteRecord();
  EXPECT_EQ(grid.model()->rowCount(), 3);
  EXPECT_EQ(grid.currentIndex().row(), static_cast<int>(units().recNo()));
}

TEST(DataGridColumns, WithoutDeclaredColumnsEveryFieldIsAColumn) {
  test::UnitsFixture fixture;
  ui::DataGrid grid(nullptr, &fixture.source, {});
  ASSERT_EQ(grid.model()->columnCount(), 6);
  EXPECT_EQ(grid.model()->headerData(0, Qt::Horizontal).toString(), "Code");
  EXPECT_EQ(grid.model()->headerData(5, Qt::Horizontal).toString(), "Notes");
}

}  // namespace
