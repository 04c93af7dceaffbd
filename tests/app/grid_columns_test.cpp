// The main window's grids over the sample lexicon, with the editing password given: the widths the
// design gives are kept, and every other column is wide enough for its values and its title.
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>

#include "app_test_support.h"
#include "db_engine/field.h"
#include "ui/data_controls.h"

namespace apptest {
namespace {

constexpr int kRustenburgLayeredSuite = 1601;
constexpr int kHotsonFormation = 1908;
constexpr int kUnitWithSubUnitsInAreaOne = 1321;

class GridColumnsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    writeSettingsFile("[Other links]\nSequence=1\n");
    dialogs.answer = typePassword("BoxFern");
    createProgram(copySampleDatabases(directory.filePath("sample")));
    showWindow();
    ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(kRustenburgLayeredSuite)));
    QCoreApplication::processEvents();
  }
  ui::DataGrid& grid(const char* name) const { return *find<ui::DataGrid>(name); }
};

// The rows the grid shows, each value of the column and its title drawn whole, without "…": a cell
// is the column less the grid line, its text has a margin on either side.
void expectValuesFit(ui::DataGrid& grid, int column) {
  const QAbstractItemModel& model = *grid.model();
  const int margins = 2 * (grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1) + 1;
  const QFontMetricsF metrics(grid.font());
  const int width = grid.columnWidth(column);
  const int last = grid.rowAt(grid.viewport()->height() - 1);
  ASSERT_GT(model.rowCount(), 0) << grid.objectName().toStdString();
  for (int row = std::max(grid.rowAt(0), 0); row <= (last < 0 ? model.rowCount() - 1 : last); ++row) {
    const QString value = model.data(model.index(row, column)).toString();
    EXPECT_LE(metrics.horizontalAdvance(value) + margins, width)
        << grid.objectName().toStdString() << ": " << value.toStdString();
  }
  const QString title = model.headerData(column, Qt::Horizontal).toString();
  const int headerMargins = 2 * grid.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, grid.horizontalHeader());
  EXPECT_LE(grid.horizontalHeader()->fontMetrics().horizontalAdvance(title) + headerMargins, width)
      << grid.objectName().toStdString() << ": " << title.toStdString();
}

bool fitsInView(ui::DataGrid& grid, int column) {
  return grid.horizontalScrollBar()->value() == 0 &&
         grid.columnViewportPosition(column) + grid.columnWidth(column) <= grid.viewport()->width();
}

TEST_F(GridColumnsTest, SubUnitGridsShowTheYearsWholeBesideTheDesignWidths) {
  ui::DataGrid& subUnits = grid("dbgSubUnit");
  ui::DataGrid& subSubUnits = grid("dbgSubSubUnit");
  EXPECT_EQ(subUnits.columnWidth(0), 166);
  EXPECT_EQ(subUnits.columnWidth(1), 72);
  EXPECT_EQ(subSubUnits.columnWidth(0), 175);
  EXPECT_EQ(subSubUnits.columnWidth(1), 81);
  expectValuesFit(subUnits, 2);
  expectValuesFit(subSubUnits, 2);
  EXPECT_TRUE(fitsInView(subUnits, 2)) << "there is room for the Years beside the design widths";
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(GridColumnsTest, RecordViewShowsWholeNames) {
  showTab("tsRecordView");
  ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(kHotsonFormation)));
  QCoreApplication::processEvents();
  ui::DataGrid& records = grid("DBGrid8");
  for (int column = 0; column < records.model()->columnCount(); ++column) {
    const QString field = records.model()->headerData(column, Qt::Horizontal).toString();
    const auto type = dmVORL->VORLList.fieldByName(field.toStdString()).dataType();
    if (type == engine::FieldType::Memo || type == engine::FieldType::FormattedMemo) {
      EXPECT_LE(records.columnWidth(column), records.viewport()->width()) << "a text of many lines: no wider than the view";
      continue;
    }
    expectValuesFit(records, column);
  }
}

TEST_F(GridColumnsTest, TwoColumnGridsNeedNoHorizontalScrollBar) {
  ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(kUnitWithSubUnitsInAreaOne)));
  showTab("tsArea");
  QCoreApplication::processEvents();
  for (const char* name : {"dbgAreaLeft", "dbgAreaCentre", "dbgAreaRight"}) {
    ui::DataGrid& area = grid(name);
    EXPECT_EQ(area.columnWidth(0), 151) << name;
    EXPECT_FALSE(area.horizontalScrollBar()->isVisible()) << name;
    EXPECT_TRUE(fitsInView(area, 1)) << name;
    expectValuesFit(area, 1);
  }
  showTab("tsAvailableAreas");
  QCoreApplication::processEvents();
  EXPECT_FALSE(grid("DBGrid9").horizontalScrollBar()->isVisible());
  for (int column : {0, 1}) expectValuesFit(grid("DBGrid9"), column);
}

}  // namespace
}  // namespace apptest
