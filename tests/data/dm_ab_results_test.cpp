// The results module on real databases: the IAge rounding, the new-result defaults, Querydm, and
// each post-error rule against real refusals of the engine.
#include "data/dm_ab_results.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "data/results_schema.h"
#include "db_engine/database.h"
#include "db_engine/errors.h"
#include "test_databases.h"

namespace {

constexpr const char* kResultRows = R"(
INSERT INTO Country (CountryAbr, Country) VALUES ('NA','Namibia'), ('ZA','South Africa');
INSERT INTO Material VALUES ('zrn','Zircon');
INSERT INTO Interpretation VALUES ('Empl','Emplacement');
INSERT INTO Method VALUES ('R','Regression');
INSERT INTO Lithol VALUES ('Granite'), ('Basalt');
INSERT INTO SourceType VALUES ('P','Paper');
INSERT INTO SourceList VALUES (1,'Scoates and Friedman 2008');
INSERT INTO IsoRgr20 (RegressionNumber, CountryAbr, UnitName, MaterialAbr, Age, IAge) VALUES
  (10,'ZA','Bushveld Complex','zrn',2054.4,2054400), (11,'ZA','Rooiberg Group','zrn',2060,2060000),
  (20,'NA','Damara Supergroup',NULL,550,550000);
INSERT INTO SmpReg (RegressionNumber, SampleNo) VALUES (10,'XY7'), (10,'XY8'), (11,'AB1');
INSERT INTO Grouping VALUES (10,'Bushveld'), (11,'Bushveld');
)";

std::string today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[11];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

class DmAbResultsTest : public ::testing::Test {
 protected:
  DmAbResultsTest() {
    resultsDirectory = databases.create("ABResults", data::resultsSchema(), "pluvek");
    workingDirectory = databases.create("ABtmp", data::workingSchema());
    databases.session.setAlias("ABtmp0", workingDirectory);
    databases.session.addPassword("pluvek");
    databases.execute("ABResults", kResultRows);
  }

  void openOnZA() {
    dm().Country.open();
    ASSERT_TRUE(dm().Country.locate("CountryAbr", std::string("ZA")));
    dm().IsoResults.open();
    dm().SmpReg.open();
  }

  // Posts the pending row and tells how the post ended.
  std::string post(engine::Dataset& dataset) {
    try {
      dataset.post();
    } catch (const engine::SilentAbort&) {
      return "silent abort";
    } catch (const engine::EngineError& error) {
      return "engine error " + std::to_string(error.code());
    }
    return "posted";
  }

  std::string insertAndPost(engine::Dataset& dataset, const std::vector<std::pair<std::string, std::string>>& values) {
    dataset.append();
    for (const auto& [field, value] : values) dataset.fieldByName(field).setAsString(value);
    return post(dataset);
  }

  data::TdmABResults& dm() {
    if (!module) {
      module = std::make_unique<data::TdmABResults>(databases.session);
      module->showWarning = [this](const std::string& text) { warnings.push_back(text); };
    }
    return *module;
  }

  data_test::TestDatabases databases;
  std::string resultsDirectory;
  std::string workingDirectory;
  std::unique_ptr<data::TdmABResults> module;
  std::vector<std::string> warnings;
};

const std::string kSilent = "silent abort";
const std::string kKeyViolation = "engine error " + std::to_string(engine::code::KeyViolation);

TEST(AgeInThousandthsTest, RoundsDecimalAgesHalfToEven) {
  const std::vector<std::pair<double, std::int32_t>> table{
      {0.3, 300},     {0.0625, 62},        {0.1875, 188}, {0.0, 0},
      {-0.0004, 0},   {0.0015, 2},         {0.0025, 2},   {2.5005, 2500},
      {2054.4, 2054400}, {2147483.647, 2147483647}, {-2147483.648, -2147483647 - 1}};
  for (const auto& [age, expected] : table) EXPECT_EQ(data::ageInThousandths(age), expected) << age;
  for (double outside : {2147483.648, -2147483.649, std::nan(""), HUGE_VAL}) {
    try {
      data::ageInThousandths(outside);
      ADD_FAILURE() << outside << " was accepted";
    } catch (const std::range_error& error) {
      EXPECT_STREQ(error.what(), "Range check error");
    }
  }
}

TEST_F(DmAbResultsTest, NewResultIsDatedTodayAndCarriesTheCountryOnly) {
  openOnZA();
  dm().IsoResults.append();
  for (const auto& field : dm().IsoResults.fields()) {
    if (field->fieldName() == "CountryAbr") {
      EXPECT_EQ(field->asString(), "ZA");
    } else if (field->fieldName() == "DateString") {
      EXPECT_EQ(std::get<std::string>(field->value()), today());
    } else {
      EXPECT_TRUE(field->isNull()) << field->fieldName();
    }
  }
}

TEST_F(DmAbResultsTest, BeforePostWritesIAgeAndRefusesAgesOutOfRange) {
  openOnZA();
  EXPECT_EQ(insertAndPost(dm().IsoResults, {{"RegressionNumber", "30"}, {"UnitName", "Lebowa Granite"}, {"Age", "0.0625"}}),
            "posted");
  EXPECT_EQ(dm().field("IsoResultsIAge").asInteger(), 62);
  const auto repost = [&](const std::string& age) {
    dm().IsoResults.edit();
    dm().field("IsoResultsAge").setAsString(age);
    return post(dm().IsoResults);
  };
  EXPECT_EQ(repost("0.1875"), "posted");
  EXPECT_EQ(dm().field("IsoResultsIAge").asInteger(), 188);
  EXPECT_EQ(repost(""), "posted");
  EXPECT_EQ(dm().field("IsoResultsIAge").asInteger(), 0);
  EXPECT_EQ(repost("2147483.647"), "posted");
  EXPECT_EQ(dm().field("IsoResultsIAge").asInteger(), 2147483647);

  dm().IsoResults.edit();
  dm().field("IsoResultsAge").setAsString("2147483.648");
  EXPECT_THROW(dm().IsoResults.post(), std::range_error);
  EXPECT_EQ(dm().IsoResults.state(), engine::DatasetState::Edit);
  dm().IsoResults.cancel();
  EXPECT_EQ(dm().field("IsoResultsAge").asFloat(), 2147483.647);

  const std::size_t stored = dm().IsoResults.recordCount();
  dm().IsoResults.append();
  dm().field("IsoResultsRegressionNumber").setAsInteger(31);
  dm().field("IsoResultsUnitName").setAsString("Lebowa Granite");
  dm().field("IsoResultsAge").setAsFloat(-2147483.649);
  EXPECT_THROW(dm().IsoResults.post(), std::range_error);
  EXPECT_EQ(dm().IsoResults.state(), engine::DatasetState::Insert);
  dm().IsoResults.cancel();
  EXPECT_EQ(dm().IsoResults.recordCount(), stored);
  EXPECT_TRUE(warnings.empty());
}

TEST_F(DmAbResultsTest, ResultRuleWarnsOrDiscards) {
  openOnZA();
  const std::size_t stored = dm().IsoResults.recordCount();
  EXPECT_EQ(insertAndPost(dm().IsoResults, {{"RegressionNumber", "40"}, {"UnitName", "Bushveld Complex"},
                                            {"MaterialAbr", "XX"}}),
            kSilent);
  EXPECT_EQ(dm().IsoResults.state(), engine::DatasetState::Insert);
  EXPECT_EQ(dm().field("IsoResultsMaterialAbr").asString(), "XX");
  dm().field("IsoResultsMaterialAbr").setAsString("zrn");
  dm().field("IsoResultsAgePError").setAsFloat(-1);
  EXPECT_EQ(post(dm().IsoResults), kSilent);
  dm().field("IsoResultsAgePError").clear();
  dm().field("IsoResultsUnitName").clear();
  EXPECT_EQ(post(dm().IsoResults), kSilent);
  dm().field("IsoResultsUnitName").setAsString("Bushveld Complex");
  dm().field("IsoResultsRegressionNumber").setAsInteger(10);
  EXPECT_EQ(post(dm().IsoResults), kKeyViolation);
  EXPECT_EQ(dm().IsoResults.state(), engine::DatasetState::Browse);
  EXPECT_EQ(dm().IsoResults.recordCount(), stored);

  // A result that has samples cannot be renumbered.
  ASSERT_TRUE(dm().IsoResults.locate("RegressionNumber", std::string("10")));
  dm().IsoResults.edit();
  dm().field("IsoResultsRegressionNumber").setAsInteger(12);
  EXPECT_EQ(post(dm().IsoResults), kSilent);
  EXPECT_EQ(dm().IsoResults.state(), engine::DatasetState::Edit);
  EXPECT_EQ(warnings, (std::vector<std::string>{"Field value out of lookup table range", "Error in integrity",
                                                "Required field missing", "Details exist"}));
}

TEST_F(DmAbResultsTest, StandardRuleWarnsDiscardsOrPassesThrough) {
  openOnZA();
  dm().Lithology.open();
  EXPECT_EQ(insertAndPost(dm().Lithology, {{"Lithology", "Granite"}}), kKeyViolation);
  EXPECT_EQ(dm().Lithology.state(), engine::DatasetState::Browse);
  EXPECT_EQ(dm().Lithology.recordCount(), 2u);

  // A key violation while editing a stored row: the row stays as stored and the edit stays open.
  ASSERT_TRUE(dm().Lithology.locate("Lithology", std::string("Basalt")));
  dm().Lithology.edit();
  dm().field("LithologyLithology").setAsString("Granite");
  EXPECT_EQ(post(dm().Lithology), kKeyViolation);
  EXPECT_EQ(dm().Lithology.state(), engine::DatasetState::Edit);
  dm().Lithology.cancel();
  EXPECT_TRUE(dm().Lithology.locate("Lithology", std::string("Basalt")));

  dm().Material.open();
  EXPECT_EQ(insertAndPost(dm().Material, {{"MaterialDescription", "Baddeleyite"}}), kSilent);
  EXPECT_EQ(dm().Material.state(), engine::DatasetState::Insert);
  dm().Material.cancel();

  dm().Grouping.open();
  EXPECT_EQ(insertAndPost(dm().Grouping, {{"RegressionNumber", "99"}, {"Grouping", "Bushveld"}}), kSilent);
  dm().Grouping.cancel();

  dm().Source.open();
  EXPECT_EQ(insertAndPost(dm().Source, {{"RegressionNumber", "10"}, {"SourceType", "Z"}, {"SourceAbr", "1"}}),
            "engine error " + std::to_string(engine::code::LookupValue));
  EXPECT_EQ(dm().Source.state(), engine::DatasetState::Insert);
  EXPECT_EQ(warnings, (std::vector<std::string>{"Required field missing", "Foreign key"}));
}

TEST_F(DmAbResultsTest, SampleRuleNamesTheSampleThenDiscards) {
  openOnZA();
  ASSERT_TRUE(dm().IsoResults.locate("RegressionNumber", std::string("10")));
  EXPECT_EQ(insertAndPost(dm().SmpReg, {{"SampleNo", "XY7"}}), kKeyViolation);
  EXPECT_EQ(dm().SmpReg.state(), engine::DatasetState::Browse);
  EXPECT_EQ(dm().SmpReg.recordCount(), 2u);

  EXPECT_EQ(insertAndPost(dm().SmpReg, {{"Included", "Y"}}), kSilent);
  EXPECT_EQ(dm().SmpReg.state(), engine::DatasetState::Insert);
  EXPECT_EQ(dm().field("SmpRegIncluded").asString(), "Y");
  dm().SmpReg.cancel();

  dm().Querydm.open();
  dm().QdmSmp.open();
  EXPECT_EQ(insertAndPost(dm().QdmSmp, {{"SampleNo", "XY8"}}), kKeyViolation);
  EXPECT_EQ(warnings, (std::vector<std::string>{"Unable to insert data record for XY7", "Please provide an Employee ID",
                                                "Unable to insert data record for XY8"}));
}

TEST_F(DmAbResultsTest, DatasetWithoutHandlerPassesTheEngineError) {
  dm().Method.open();
  EXPECT_EQ(insertAndPost(dm().Method, {{"MethodAbr", "R"}}), kKeyViolation);
  EXPECT_EQ(dm().Method.state(), engine::DatasetState::Insert);
  EXPECT_TRUE(warnings.empty());

  // With no warning box wired, a warning rule leaves the engine's error to report the refusal.
  openOnZA();
  dm().showWarning = nullptr;
  EXPECT_EQ(insertAndPost(dm().IsoResults, {{"RegressionNumber", "41"}, {"UnitName", "X"}, {"MaterialAbr", "XX"}}),
            "engine error " + std::to_string(engine::code::LookupValue));
}

TEST_F(DmAbResultsTest, HandlersServeTheirEighteenDatasetsOnly) {
  std::size_t served = 0;
  for (const auto& handler : data::TdmABResults::postErrorHandlers()) {
    EXPECT_EQ(std::string(handler.name), std::string(handler.datasets.front()) + "PostError");
    served += handler.datasets.size();
  }
  EXPECT_EQ(data::TdmABResults::postErrorHandlers().size(), 17u);
  EXPECT_EQ(served, 18u);
  std::size_t withHandler = 0;
  for (engine::Dataset* dataset : dm().datasets()) withHandler += dataset->onPostError ? 1 : 0;
  EXPECT_EQ(withHandler, 18u);
  EXPECT_EQ(dm().datasets().size(), 33u);
  EXPECT_FALSE(dm().Method.onPostError);
  EXPECT_TRUE(dm().QdmSmp.onPostError);
}

TEST_F(DmAbResultsTest, QuerydmRunsAgainOnEveryResultMove) {
  openOnZA();
  dm().Querydm.open();
  dm().QdmSmp.open();
  dm().QdmGrouping.open();
  EXPECT_EQ(dm().Querydm.recordCount(), 3u);
  dm().Querydm.next();
  EXPECT_EQ(dm().field("QdmSmpSampleNo").asString(), "AB1");
  dm().IsoResults.next();
  EXPECT_EQ(dm().Querydm.recNo(), 0u);
  EXPECT_EQ(dm().field("QuerydmRegressionNumber").asInteger(), 10);
  EXPECT_EQ(dm().QdmSmp.recordCount(), 2u);
  EXPECT_EQ(dm().QdmGrouping.recordCount(), 1u);
  EXPECT_EQ(dm().QdmSmp.fields().size(), 6u);
  EXPECT_EQ(dm().Querydm.fields()[14]->fieldName(), "Lithology");
  EXPECT_EQ(dm().Querydm.fields()[15]->fieldName(), "DateString");
}

TEST_F(DmAbResultsTest, DatabaseObjectsTakeTheirDirectoryFromTheAliases) {
  EXPECT_EQ(dm().DB1.databaseName(), "ABResults");
  EXPECT_EQ(dm().DB1.params(),
            (std::vector<std::string>{"PATH=" + resultsDirectory, "ENABLE BCD=FALSE", "DEFAULT DRIVER=SQLITE"}));
  EXPECT_EQ(dm().DBtmp.databaseName(), "ABtmp");
  EXPECT_EQ(dm().DBUser.databaseName(), "ABtmp0");
  EXPECT_EQ(dm().DBUser.params(), dm().DBtmp.params());
  dm().UserCheck.open();
  dm().TempDataMap.open();
  EXPECT_EQ(dm().UserCheck.database().directory(), dm().TempDataMap.database().directory());
  EXPECT_EQ(dm().field("SmpRegLatitude").displayFormat(), "###0.00000");
  EXPECT_EQ(dm().field("QdmSmpLatitude").displayFormat(), "");
  EXPECT_EQ(dm().GroupingFree.fields().size(), 1u);
}

}  // namespace
