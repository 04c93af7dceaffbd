// Field values as text: conversions, display formats, dates, booleans.
#include <limits>

#include "db_engine/format_settings.h"
#include "engine_fixture.h"

namespace engine_test {
namespace {

using engine::EngineError;

class FieldTest : public LexiconTest {
 protected:
  void SetUp() override {
    LexiconTest::SetUp();
    units = table("VORLList", "VORLLIST.DB");
    units->setIndexName("UQCode");
    units->open();
    units->edit();
  }
  void TearDown() override { engine::formatSettings() = {}; }

  engine::Field& field(const char* name) { return units->fieldByName(name); }

  std::unique_ptr<engine::Table> units;
};

TEST_F(FieldTest, DisplayFormatsRoundHalfAwayFromZeroOnTheDecimalValue) {
  auto& years = field("AgeMinimum");
  const struct {
    const char* format;
    double value;
    const char* text;
  } cases[] = {
      {"###0.00", 1234.5, "1234.50"},    {"###0.00", 0.056, "0.06"},      {"####0.00", 0.005, "0.01"},
      {"###0.0", 2.25, "2.3"},          {"###0.0", -2.25, "-2.3"},       {"###0.0", 2.35, "2.4"},
      {"###0.00", 1.005, "1.01"},       {"###0.00000", 0.1, "0.10000"},  {"###0.00", 999.995, "1000.00"},
      {"#,##0.00", 1234567.891, "1,234,567.89"}, {"###0.00", -0.001, "0.00"}, {"0.##", 3.1, "3.1"},
      {"#.##", 0.5, ".5"},              {"0.00 Ma", 12, "12.00 Ma"},     {"###0.00", 4.6e9, "4600000000.00"},
  };
  for (const auto& test : cases) {
    years.setDisplayFormat(test.format);
    years.setAsFloat(test.value);
    EXPECT_EQ(years.displayText(), test.text) << test.format << " " << test.value;
  }
  years.setDisplayFormat("");
  years.setAsFloat(4600000000);
  EXPECT_EQ(years.displayText(), "4600000000");
  years.setAsFloat(0.3);
  EXPECT_EQ(years.asString(), "0.3");
  years.setDisplayFormat("###0.00");
  EXPECT_EQ(years.asString(), "0.3") << "edit text ignores the display format";
  years.clear();
  EXPECT_EQ(years.displayText(), "");
}

TEST_F(FieldTest, TextConvertsToEachTypeOrIsRefused) {
  field("Code").setAsString("42");
  EXPECT_EQ(field("Code").asInteger(), 42);
  try {
    field("Code").setAsString("abc");
    FAIL() << "accepted a word as integer";
  } catch (const EngineError& error) {
    EXPECT_EQ(error.code(), engine::code::Conversion);
    EXPECT_STREQ(error.what(), "'abc' is not a valid integer value for field Code");
  }
  EXPECT_THROW(field("Code").setAsString("99999999999"), EngineError) << "beyond 32 bits";
  EXPECT_THROW(field("Years").setAsString("1,5"), EngineError);
  field("Years").setAsString("1.5e3");
  EXPECT_DOUBLE_EQ(field("Years").asFloat(), 1500);

  field("Dated").setAsString("tRuE");
  EXPECT_TRUE(field("Dated").asBoolean());
  EXPECT_EQ(field("Dated").asString(), "True");
  field("Dated").setAsString("False");
  EXPECT_EQ(field("Dated").displayText(), "False");
  EXPECT_THROW(field("Dated").setAsString("maybe"), EngineError);

  field("Code").setAsString("");
  EXPECT_TRUE(field("Code").isNull());
  EXPECT_EQ(field("Code").asInteger(), 0);
}

// Infinities, NaN and numbers beyond 64 bits never reach an integer: they are refused.
TEST_F(FieldTest, NumbersWithoutAnIntegerValueAreRefused) {
  const double unconvertible[] = {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                                  std::numeric_limits<double>::quiet_NaN(), 9.3e18, -9.3e18, 1e300};
  for (const double number : unconvertible) {
    field("AgeMinimum").setAsFloat(number);
    EXPECT_THROW(field("AgeMinimum").asInteger(), EngineError) << number;
    EXPECT_THROW(field("LParent").setValue(number), EngineError) << number;
  }
  field("AgeMinimum").setAsFloat(-9223372036854775808.0);
  EXPECT_EQ(field("AgeMinimum").asInteger(), std::numeric_limits<std::int64_t>::min());
  field("LParent").setValue(2.5);
  EXPECT_EQ(field("LParent").asInteger(), 3);

  // A real that another program stored in an integer column.
  units->cancel();
  runSql(directory.path(), "UPDATE VORLLIST SET LParent = 9e999 WHERE Code = 1");
  units->refresh();
  ASSERT_TRUE(units->locate("Code", "1"));
  EXPECT_THROW(field("LParent").asInteger(), EngineError);
  EXPECT_EQ(field("LParent").displayText(), "inf");

  engine::Query query(session, "ByParent");
  query.setDatabaseName("VORL");
  query.setSql({"select Name from vorllist where LParent = :LParent"});
  query.declareParam({"LParent", engine::FieldType::Integer, std::numeric_limits<double>::infinity()});
  EXPECT_THROW(query.open(), EngineError);
  query.declareParam({"LParent", engine::FieldType::Integer, 1.0});
  query.open();
  EXPECT_EQ(query.recordCount(), 5u);
}

TEST_F(FieldTest, DatesUseTheShortDateFormatAndIsoText) {
  engine::formatSettings().shortDateFormat = "dd/MM/yyyy";
  auto& date = field("DateModified");
  date.setAsString("3/4/2021");
  EXPECT_EQ(date.value(), engine::Value{std::string("2021-04-03")});
  EXPECT_EQ(date.asString(), "03/04/2021");
  date.setAsString("2020-02-29");
  EXPECT_EQ(date.asString(), "29/02/2020");
  EXPECT_THROW(date.setAsString("31/02/2021"), EngineError);
  EXPECT_THROW(date.setAsString("today"), EngineError);
  engine::formatSettings().shortDateFormat = "M/d/yy";
  EXPECT_EQ(date.asString(), "2/29/20");
  units->post();
  EXPECT_EQ(date.asString(), "2/29/20") << "stored as ISO text and read back";
}

}  // namespace
}  // namespace engine_test
