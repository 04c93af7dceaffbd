// The "Geochronology" tab: which results its query lists and in what order, their display, and
// the Open button with the link switched off after a failure.
#include <sqlite3.h>

#include <QPushButton>
#include <string>
#include <vector>

#include "app/vorl_varb.h"
#include "app_test_support.h"
#include "db_engine/query.h"
#include "ui/data_controls.h"

namespace apptest {
namespace {

class GeochronologyTest : public MainWindowTest {
 protected:
  void start(const std::string& configuration, int code = unit::Elandsvlei) {
    writeSettingsFile("[Other links]\nAmbrell=1\n");
    createProgram(configuration);
    showWindow();
    showTabAndGoTo(code);
  }
  void showTabAndGoTo(int code) {
    showTab("tsGeochronology");
    ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(code)));
  }
  void clickOpen() { find<QPushButton>("bOpen")->click(); }
  std::vector<int> listedRegressions() {
    std::vector<int> numbers;
    engine::Query& query = window->ABQuery();
    engine::Table results(*session, "results");
    results.setDatabaseName("ABResults");
    results.setTableName("IsoRgr20.DB");
    results.open();
    for (query.first(); !query.eof(); query.next()) {
      // The query keeps no regression number: find the result by its age, unique in the small data.
      EXPECT_TRUE(results.locate("Age", query.fieldByName("Age").asString()));
      numbers.push_back(static_cast<int>(results.fieldByName("RegressionNumber").asInteger()));
    }
    return numbers;
  }
};

TEST_F(GeochronologyTest, ListsOnlyAcceptedResultsOfTheUnitInTheirOrder) {
  start(smallDatabases());
  EXPECT_FALSE(window->ABQuery().active());  // showing the tab opens nothing
  clickOpen();
  ASSERT_TRUE(window->ABQuery().active());
  // whole rock before zircon; then the lower preference level first; method M, level 0,
  // confidential and metamorphic results never.
  EXPECT_EQ(listedRegressions(), std::vector<int>({7, 2, 1}));
  window->ABQuery().last();
  EXPECT_EQ(window->ABQuery().fieldByName("Age").displayText(), "1234.50");
  EXPECT_EQ(window->ABQuery().fieldByName("AgeMError").displayText(), "0.06");
  EXPECT_EQ(find<ui::DataEdit>("DBEdit22")->text(), "zircon");
  EXPECT_EQ(find<ui::DataEdit>("DBEdit32")->text(), "2");

  ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(unit::Dwyka)));  // follows the unit
  EXPECT_EQ(window->ABQuery().recordCount(), 1u);
  ASSERT_TRUE(dmVORL->VORLList.locate("Code", std::to_string(unit::Karoo)));  // no suite names it
  EXPECT_EQ(window->ABQuery().recordCount(), 0u);
  EXPECT_TRUE(find<ui::DataEdit>("DBEdit25")->text().isEmpty());

  clickOpen();  // open already: nothing happens, the link stays on
  EXPECT_TRUE(AmbrellLink);
  find<QPushButton>("bClose")->click();
  EXPECT_FALSE(window->ABQuery().active());
  find<QPushButton>("bClose")->click();
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(GeochronologyTest, AFailedOpenWarnsOnceAndSwitchesTheLinkOff) {
  const std::string configuration = smallDatabases();
  executeOn(configuration, "ABResults", "DROP TABLE Lithol");
  start(configuration);
  clickOpen();
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].kind, ui::MessageKind::Warning);
  EXPECT_EQ(dialogs.messages[0].text, "Link to Ambrell database either incorrect or not available");
  EXPECT_FALSE(AmbrellLink);
  clickOpen();
  EXPECT_EQ(dialogs.messages.size(), 1u);
  EXPECT_FALSE(window->ABQuery().active());
  window->close();
  EXPECT_NE(readSettingsFile().find("Ambrell=0"), std::string::npos);
}

// The query runs again at every move of the unit, so it must reach the results of the unit's
// suites through an index rather than by reading the whole result table.
TEST_F(GeochronologyTest, QueryFindsTheResultsOfTheUnitThroughAnIndex) {
  start(smallDatabases());
  clickOpen();
  ASSERT_TRUE(window->ABQuery().active());
  std::string text = "EXPLAIN QUERY PLAN";
  for (const std::string& line : window->ABQuery().sql()) text += "\n" + line;
  sqlite3_stmt* plan = nullptr;
  ASSERT_EQ(sqlite3_prepare_v2(dmABResults->DB1.handle(), text.c_str(), -1, &plan, nullptr), SQLITE_OK);
  std::vector<std::string> steps;
  while (sqlite3_step(plan) == SQLITE_ROW) steps.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(plan, 3)));
  sqlite3_finalize(plan);
  ASSERT_FALSE(steps.empty());
  for (const std::string& step : steps) EXPECT_FALSE(step.starts_with("SCAN")) << step;
}

TEST_F(GeochronologyTest, OnTheSampleEveryListedResultPassesTheFiltersInOrder) {
  constexpr int kRustenburgLayeredSuite = 1601;
  start(copySampleDatabases(directory.filePath("sample")), kRustenburgLayeredSuite);
  engine::Table suites(*session, "suites");
  suites.setDatabaseName("ABResults");
  suites.setTableName("Suite.DB");
  suites.open();
  std::size_t listedAnywhere = 0;
  for (suites.first(); !suites.eof(); suites.next()) {
    const std::string code = suites.fieldByName("GISID").asString();
    if (code.empty() || !dmVORL->VORLList.locate("Code", code)) continue;  // no unit, or not in ZA
    if (!window->ABQuery().active()) clickOpen();
    engine::Query& query = window->ABQuery();
    std::string previous;
    for (query.first(); !query.eof(); query.next()) {
      const std::string interpretation = query.fieldByName("InterpAbr").asString();
      EXPECT_TRUE(interpretation == "Empl" || interpretation == "Extr" || interpretation == "Depos") << interpretation;
      EXPECT_GT(query.fieldByName("PrefLevel").asInteger(), 0);
      const std::string key = query.fieldByName("MaterialDescription").asString();
      EXPECT_LE(previous, key);
      previous = key;
      ++listedAnywhere;
    }
  }
  EXPECT_GT(listedAnywhere, 0u);
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
}  // namespace apptest
