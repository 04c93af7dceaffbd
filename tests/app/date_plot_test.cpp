// The plot of the current unit's dates opened from the "Geochronology" tab: its points and bars are
// the query's rows, it follows the grid's row and the unit, and shows nothing while the link is closed.
#include <QChart>
#include <QPushButton>
#include <QScatterSeries>
#include <set>
#include <string>

#include "app/date_plot_window.h"
#include "app/vorl_varb.h"
#include "app_test_support.h"
#include "db_engine/query.h"
#include "ui/data_controls.h"

namespace apptest {
namespace {

// Sample units with dating results.
constexpr int kRustenburgLayeredSuite = 1601;  // three isotope systems
constexpr int kKarooDoleriteSuite = 1090;      // two
constexpr int kElandsvleiFormation = 1002;     // one

class DatePlotTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    writeSettingsFile("[Other links]\nAmbrell=1\n");
    createProgram(copySampleDatabases(directory.filePath("sample")));
    showWindow();
    showTab("tsGeochronology");
    goTo(kRustenburgLayeredSuite);
  }
  void goTo(int code) { ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(code))); }
  void click(const char* button) { find<QPushButton>(button)->click(); }
  TfmDatePlot& plot() {
    click("bPlot");
    return *window->fmDatePlot();
  }
  const vorl::DatePlotModel& model() const { return window->fmDatePlot()->model(); }

  const vorl::PlottedDate* dateOfRow(std::size_t row, std::string* system = nullptr) const {
    for (const auto& group : model().systems()) {
      for (const auto& date : group.dates) {
        if (date.row != row) continue;
        if (system) *system = group.name;
        return &date;
      }
    }
    return nullptr;
  }

  // Every row of the query is one date of its isotope system, and the shaded range is the unit's.
  void expectPlotOfQueryRows() {
    engine::Query& query = window->ABQuery();
    std::size_t dates = 0;
    for (const auto& group : model().systems()) dates += group.dates.size();
    EXPECT_EQ(dates, query.recordCount());
    for (query.first(); !query.eof(); query.next()) {
      std::string system;
      const vorl::PlottedDate* date = dateOfRow(query.recNo(), &system);
      ASSERT_NE(date, nullptr) << "row " << query.recNo();
      const double age = query.fieldByName("Age").asFloat();
      EXPECT_EQ(system, query.fieldByName("IsoSystemName").asString());
      EXPECT_DOUBLE_EQ(date->age, age);
      EXPECT_DOUBLE_EQ(date->upper, age + query.fieldByName("AgePError").asFloat());
      EXPECT_DOUBLE_EQ(date->lower, age - query.fieldByName("AgeMError").asFloat());
    }
    query.first();
    ASSERT_TRUE(model().unitRange().has_value());
    EXPECT_DOUBLE_EQ(model().unitRange()->minimum, dmVORL->VORLList.fieldByName("AgeMinimum").asFloat());
    EXPECT_DOUBLE_EQ(model().unitRange()->maximum, dmVORL->VORLList.fieldByName("AgeMaximum").asFloat());
    EXPECT_EQ(model().unitName(), dmVORL->VORLList.fieldByName("Name").asString());
  }

  // The chart draws one legend entry of points per system and one bar per date.
  void expectChartOfModel() {
    std::set<QString> drawnSystems;
    std::size_t bars = 0;
    for (QAbstractSeries* series : window->fmDatePlot()->chart()->series()) {
      if (series->type() == QAbstractSeries::SeriesTypeScatter && series->name() != "Current row") {
        drawnSystems.insert(series->name());
      }
      if (series->type() == QAbstractSeries::SeriesTypeLine) ++bars;
    }
    std::set<QString> systems;
    std::size_t dates = 0;
    for (const auto& group : model().systems()) {
      systems.insert(QString::fromStdString(group.name));
      dates += group.dates.size();
    }
    EXPECT_EQ(drawnSystems, systems);
    EXPECT_EQ(bars, dates);
  }

  std::pair<double, double> highlightedPoint() const {
    for (QAbstractSeries* series : window->fmDatePlot()->chart()->series()) {
      auto* points = qobject_cast<QScatterSeries*>(series);
      if (points && points->name() == "Current row" && points->count() == 1) {
        return {points->at(0).x(), points->at(0).y()};
      }
    }
    return {-1.0, -1.0};
  }
};

TEST_F(DatePlotTest, PointsAndBarsAreTheQueryRowsGroupedByIsotopeSystem) {
  click("bOpen");
  plot();
  ASSERT_EQ(model().systems().size(), 3u);
  for (int code : {kRustenburgLayeredSuite, kKarooDoleriteSuite, kElandsvleiFormation}) {
    SCOPED_TRACE(code);
    goTo(code);
    expectPlotOfQueryRows();
    expectChartOfModel();
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DatePlotTest, FollowsTheGridRowAndTheUnit) {
  click("bOpen");
  plot();
  auto* grid = find<ui::DataGrid>("DBGrid11");
  grid->setCurrentIndex(grid->model()->index(2, 1));
  ASSERT_EQ(window->ABQuery().recNo(), 2u);
  ASSERT_NE(model().highlighted(), nullptr);
  EXPECT_EQ(model().highlighted(), dateOfRow(2));
  EXPECT_EQ(highlightedPoint(), std::make_pair(model().highlighted()->position, model().highlighted()->age));
  find<ui::DataNavigator>("DBNavigator11")->click(ui::NavigatorButton::Prior);
  EXPECT_EQ(model().highlighted(), dateOfRow(1));
  EXPECT_EQ(highlightedPoint(), std::make_pair(model().highlighted()->position, model().highlighted()->age));

  goTo(kKarooDoleriteSuite);
  expectPlotOfQueryRows();
  EXPECT_EQ(window->fmDatePlot()->chart()->title().toStdString(), model().unitName());
  EXPECT_EQ(model().highlighted(), dateOfRow(0));

  // An edit of the unit's age moves the shaded range, in Ma whatever the unit's AgeUnits.
  const double maximum = dmVORL->VORLList.fieldByName("AgeMaximum").asFloat();
  dmVORL->VORLList.edit();
  dmVORL->VORLList.fieldByName("AgeUnits").setAsString("Ga");
  EXPECT_DOUBLE_EQ(model().unitRange()->maximum, maximum * 1000.0);
  dmVORL->VORLList.cancel();

  // Hidden, the window follows nothing; shown again, it reads the unit it missed.
  window->fmDatePlot()->close();
  goTo(kRustenburgLayeredSuite);
  EXPECT_NE(model().unitName(), dmVORL->VORLList.fieldByName("Name").asString());
  plot();
  expectPlotOfQueryRows();
}

TEST_F(DatePlotTest, AClosedLinkPlotsNothing) {
  TfmDatePlot& window = plot();
  EXPECT_FALSE(model().linkOpen());
  EXPECT_TRUE(window.chart()->series().isEmpty());
  EXPECT_TRUE(window.chart()->title().contains("Open"));
  click("bOpen");
  EXPECT_TRUE(model().linkOpen());
  EXPECT_FALSE(window.chart()->series().isEmpty());
  click("bClose");
  EXPECT_TRUE(model().systems().empty());
  EXPECT_TRUE(window.chart()->series().isEmpty());
}

}  // namespace
}  // namespace apptest
