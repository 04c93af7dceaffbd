#pragma once
// A real lexicon for the report datasets: units around the Years bound and the top-level rule,
// occurrences in two areas, and a unit view standing in for the main window's current unit.
#include <gtest/gtest.h>

#include <QString>
#include <vector>

#include "data/lexicon_schema.h"
#include "data/test_databases.h"
#include "db_engine/table.h"
#include "reports/report_data.h"

namespace reports_test {

constexpr const char* kLexiconRows = R"(
INSERT INTO CountryList VALUES ('ZA','South Africa');
INSERT INTO Rank VALUES ('SGp','Supergroup'), ('Gp','Group'), ('Fm','Formation');
INSERT INTO AreaList VALUES ('1','Main Karoo Basin'), ('2','Cape Fold Belt');
INSERT INTO VORLLIST (Years, Code, Name, Rank, LParent, CountryID) VALUES
  (300000000, 100, 'Karoo Supergroup', 'SGp', 0, 'ZA'),
  (4600000000, 101, 'Earth-age Group', 'Gp', 0, 'ZA'),
  (4599999999, 102, 'Oldest Group', 'Gp', 0, 'ZA'),
  (1000, 103, 'Orphan Formation', 'Fm', NULL, 'ZA'),
  (2000, 104, 'Stray Formation', 'Fm', 999, 'ZA'),
  (280000000, 110, 'Ecca Group', 'Gp', 100, 'ZA');
INSERT INTO VORLLIST (Years, Code, Name, Rank, LParent, CountryID, Description, Comments, DateModified, Dated)
  VALUES (285000000, 111, 'Prince Albert Formation', 'Fm', 110, 'ZA', 'Shale {\b dark}', 'Revised', '2024-05-17', 1);
INSERT INTO CodeArea VALUES (100,'1'), (110,'2'), (111,'1');
)";

class ReportDataTest : public ::testing::Test {
 protected:
  ReportDataTest() {
    databases.create("VORL", data::lexiconSchema());
    databases.execute("VORL", kLexiconRows);
    units.setDatabaseName("VORL");
    units.setTableName("VORLLIST.DB");
    units.setIndexName("UQCode");
  }

  void chooseUnit(const std::string& code) {
    units.open();
    ASSERT_TRUE(units.locate("Code", code));
  }

  data_test::TestDatabases databases;
  engine::Table units{databases.session, "VORLList"};
  engine::DataSource dsVORLList{"dsVORLList", &units};
};

// The Code of every row a run of connection gives for condition.
inline std::vector<qlonglong> runCodes(reporting::DataConnection& connection, const QString& condition = {}) {
  int code = 0;
  while (connection.fields().at(static_cast<std::size_t>(code)).name != "Code") ++code;
  std::vector<qlonglong> codes;
  connection.begin(condition);
  for (; !connection.eof(); connection.next()) codes.push_back(connection.value(code).value.toLongLong());
  connection.end();
  return codes;
}

using Codes = std::vector<qlonglong>;

}  // namespace reports_test
