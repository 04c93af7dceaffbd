// Export of the lexicon: CSV read back with a strict RFC 4180 reader, JSON parsed back, the path of
// every unit against the hierarchy, the browsing bound, cancelled and unwritable exports.
#include "data/lexicon_export.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "data/lexicon_schema.h"
#include "data/schema_fields.h"
#include "db_engine/database.h"
#include "db_engine/sqlite_statement.h"
#include "test_databases.h"

namespace {

namespace fs = std::filesystem;
using Record = std::vector<std::string>;

// The unit record in table order, as text; an empty text is an empty field.
const std::vector<Record> kUnits = {
    {"300000000", "100", "Karoo Supergroup", "SGp", "0", "1", "F", "C-J", "Y", "The \"Karoo\", a basin.\r\nSecond line",
     "Tab\there, comma, done", "180", "310", "Ma", "2001-06-23", "ZA", "False", ""},
    {"280000000", "110", "Ecca Group", "Gp", "100", "1", "F", "Pe", "", "Über Ecca – “quoted”\nnext", "\"\"", "270",
     "290.5", "Ma", "", "ZA", "True", "Crystallization age"},
    {"285000000.5", "111", "Prince Albert Formation", "Fm", "110", "1", "F", "", "", "", "", "", "", "", "", "ZA",
     "False", ""},
    {"4599999999", "112", "Whitehill Formation", "Fm", "110", "1", "F", "", "", "", "", "", "", "", "", "ZA", "", ""},
    {"4600000000", "113", "Collingham Formation", "Fm", "110", "1", "F", "", "", "", "", "", "", "", "", "ZA", "", ""},
    {"271000000", "114", "Mbizane, Formation", "Fm", "113", "1", "F", "", "", "", "", "", "", "", "", "ZA", "", ""},
    {"250000000", "130", "Molteno Formation", "Fm", "999", "1", "F", "", "", "", "", "", "", "", "", "ZA", "", ""},
    {"", "200", "ǀ'Ae-ǁHai Group", "Gp", "0", "2", "F", "", "", "", "", "", "", "", "", "NA", "", ""},
};

constexpr const char* kDetails = R"(
INSERT INTO CountryList VALUES ('ZA','South Africa'), ('NA','Namibia');
INSERT INTO Rank VALUES ('SGp','Supergroup'), ('Gp','Group'), ('Fm','Formation');
INSERT INTO VORLSTAT VALUES ('Formal','F');
INSERT INTO AreaList VALUES ('1','Main Karoo Basin'), ('2','Cape Fold Belt, south');
)";
constexpr const char* kUnitDetails = R"(
INSERT INTO CodeArea VALUES (110,'1'), (110,'2'), (114,'1');
INSERT INTO SynonList VALUES ('Ecca Series','Series',110), ('Ecca "Beds"','Informal',110);
INSERT INTO Synonyms VALUES (110,200), (110,777);
INSERT INTO Correlatives VALUES (110,200), (110,555);
)";

const Record& unitOfCode(const std::string& code) {
  return *std::find_if(kUnits.begin(), kUnits.end(), [&](const Record& unit) { return unit[1] == code; });
}

std::string insertOf(const Record& unit, const std::vector<engine::FieldDef>& fields) {
  std::string sql = "INSERT INTO VORLLIST VALUES (";
  for (std::size_t index = 0; index < unit.size(); ++index) {
    const std::string& text = unit[index];
    const engine::FieldType type = fields[index].type;
    if (index > 0) sql += ",";
    if (text.empty()) sql += "NULL";
    else if (type == engine::FieldType::Boolean) sql += text == "True" ? "1" : "0";
    else if (type == engine::FieldType::Float || type == engine::FieldType::Integer) sql += text;
    else sql += engine::quoteLiteral(text);
  }
  return sql + ");";
}

// RFC 4180 strictly: a line break outside quotes must be CR LF, and the last record ends with one.
std::vector<Record> readCsv(const std::string& text) {
  std::vector<Record> records;
  Record record;
  std::string field;
  bool quoted = false;
  for (std::size_t index = 0; index < text.size(); ++index) {
    const char character = text[index];
    const bool next = index + 1 < text.size();
    if (quoted && character == '"' && next && text[index + 1] == '"') {
      field += '"';
      ++index;
    } else if (character == '"' && (quoted || field.empty())) {
      quoted = !quoted;
    } else if (!quoted && character == ',') {
      record.push_back(std::exchange(field, {}));
    } else if (!quoted && character == '\r' && next && text[index + 1] == '\n') {
      record.push_back(std::exchange(field, {}));
      records.push_back(std::exchange(record, {}));
      ++index;
    } else {
      field += character;
    }
  }
  EXPECT_TRUE(record.empty() && field.empty() && !quoted) << "the last record does not end with CR LF";
  return records;
}

std::string contentOf(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class LexiconExportTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = databases_.create("VORL", data::lexiconSchema());
    databases_.execute("VORL", kDetails);
    const auto fields = data::allFields(data::tableOf(data::lexiconSchema(), "VORLLIST.DB"));
    for (const Record& unit : kUnits) databases_.execute("VORL", insertOf(unit, fields));
    databases_.execute("VORL", kUnitDetails);
    fs::create_directories(file(""));
  }

  data::ExportSummary exportTo(const std::string& name, const data::ExportChoice& choice,
                               const data::ExportProgress& progress = {}) {
    return data::exportLexicon(lexicon(), choice, file(name).string(), progress);
  }
  engine::Database& lexicon() { return databases_.session.database("VORL"); }
  fs::path file(const std::string& name) const { return fs::path(folder_) / "exports" / name; }
  std::vector<std::string> codes(const data::ExportChoice& choice) {
    std::vector<std::string> result;
    for (const auto& unit : data::readExportedUnits(lexicon(), choice).units) {
      result.push_back(std::to_string(std::get<std::int64_t>(unit.fields[1])));
    }
    return result;
  }
  QJsonArray jsonOf(const std::string& name) {
    QJsonParseError error;
    const std::string text = contentOf(file(name));
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    EXPECT_TRUE(document.isArray());
    return document.array();
  }

  data_test::TestDatabases databases_;
  std::string folder_;
};

TEST_F(LexiconExportTest, CsvReadsBackWithEveryUnitAndFieldUnchanged) {
  ASSERT_EQ(exportTo("units.csv", {std::nullopt, true}).units, kUnits.size());
  const std::vector<Record> records = readCsv(contentOf(file("units.csv")));
  ASSERT_EQ(records.size(), kUnits.size() + 1);
  EXPECT_EQ(records[0].front(), "Years");
  EXPECT_EQ(records[0][17], "Interpretation");
  EXPECT_EQ(Record(records[0].begin() + 18, records[0].end()),
            (Record{"CountryName", "ParentName", "Path", "Areas", "Synonyms", "Correlatives"}));
  std::vector<std::string> order;
  std::map<std::string, Record> byCode;
  for (auto record = records.begin() + 1; record != records.end(); ++record) {
    ASSERT_EQ(record->size(), 24u);
    EXPECT_EQ(Record(record->begin(), record->begin() + 18), unitOfCode((*record)[1]));
    order.push_back((*record)[1]);
    byCode[(*record)[1]] = *record;
  }
  // By country, then name.
  EXPECT_EQ(order, (std::vector<std::string>{"200", "113", "110", "100", "114", "130", "111", "112"}));
  EXPECT_EQ(Record(byCode["110"].begin() + 18, byCode["110"].end()),
            (Record{"South Africa", "Karoo Supergroup", "Karoo Supergroup / Ecca Group",
                    "Main Karoo Basin; Cape Fold Belt, south", "Ecca \"Beds\"; Ecca Series", "ǀ'Ae-ǁHai Group; 555"}));
  EXPECT_EQ(byCode["114"][20], "Karoo Supergroup / Ecca Group / Collingham Formation / Mbizane, Formation");
  EXPECT_EQ(byCode["130"][19], "");  // its parent code names no unit
  EXPECT_EQ(byCode["130"][20], "Molteno Formation");
}

TEST_F(LexiconExportTest, JsonParsesBackWithPathsThatFollowTheHierarchy) {
  ASSERT_EQ(exportTo("units.json", {"ZA", false}).units, 6u);
  const QJsonArray units = jsonOf("units.json");
  std::vector<std::string> codes;
  for (const QJsonValue& value : units) {
    const QJsonObject unit = value.toObject();
    const std::string code = std::to_string(unit["Code"].toInt());
    codes.push_back(code);
    const Record& expected = unitOfCode(code);
    EXPECT_EQ(unit["Name"].toString().toStdString(), expected[2]);
    EXPECT_EQ(unit["Description"].toString().toStdString(), expected[9]);
    EXPECT_EQ(unit["Comments"].toString().toStdString(), expected[10]);
    // Each step of the path is the parent of the next, down to the unit itself.
    const QJsonArray path = unit["Path"].toArray();
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(path.last()["Code"].toInt(), unit["Code"].toInt());
    for (qsizetype step = 1; step < path.size(); ++step) {
      const Record& child = unitOfCode(std::to_string(path[step]["Code"].toInt()));
      EXPECT_EQ(child[4], std::to_string(path[step - 1]["Code"].toInt())) << code;
      EXPECT_EQ(path[step]["Name"].toString().toStdString(), child[2]);
    }
    const auto parent = unit["Parent"];
    EXPECT_EQ(parent.isNull(), path.size() == 1) << code;
    if (!parent.isNull()) {
      EXPECT_EQ(parent["Code"].toInt(), path[path.size() - 2]["Code"].toInt());
    }
  }
  EXPECT_EQ(codes, (std::vector<std::string>{"110", "100", "114", "130", "111", "112"}));

  const QJsonObject mbizane = units[2].toObject();
  EXPECT_EQ(mbizane["Path"].toArray().size(), 4);  // through the withdrawn Collingham Formation
  EXPECT_EQ(mbizane["Parent"]["Name"].toString(), "Collingham Formation");
  const QJsonObject ecca = units[0].toObject();
  EXPECT_EQ(ecca["Years"].toDouble(), 280000000.0);
  EXPECT_EQ(ecca["AgeMaximum"].toDouble(), 290.5);
  EXPECT_EQ(ecca["Dated"], QJsonValue(true));
  EXPECT_EQ(ecca["CountryName"].toString(), "South Africa");
  EXPECT_TRUE(ecca["DateModified"].isNull());
  EXPECT_EQ(ecca["Areas"][1]["AreaName"].toString(), "Cape Fold Belt, south");
  EXPECT_EQ(ecca["Synonyms"][0]["SynonymName"].toString(), "Ecca \"Beds\"");
  EXPECT_EQ(ecca["Synonyms"][0]["SynonymRank"].toString(), "Informal");
  EXPECT_EQ(ecca["SynonymUnits"][1]["Code"].toInt(), 777);
  EXPECT_TRUE(ecca["SynonymUnits"][1]["Name"].isNull());
  const QJsonArray correlatives = ecca["Correlatives"].toArray();
  ASSERT_EQ(correlatives.size(), 2);
  EXPECT_EQ(correlatives[0]["Name"].toString(), QString::fromUtf8("ǀ'Ae-ǁHai Group"));
  EXPECT_EQ(correlatives[0]["CountryName"].toString(), "Namibia");
  EXPECT_EQ(correlatives[1]["Code"].toInt(), 555);
  EXPECT_TRUE(correlatives[1]["Name"].isNull());
  EXPECT_EQ(units[1]["Dated"], QJsonValue(false));
  EXPECT_TRUE(units[1]["Interpretation"].isNull());
}

TEST_F(LexiconExportTest, WithdrawnUnitsOnlyOnRequest) {
  // 113 is at the bound; 112 just below it and 200, without Years, stay.
  EXPECT_EQ(codes({std::nullopt, false}), (std::vector<std::string>{"200", "110", "100", "114", "130", "111", "112"}));
  EXPECT_EQ(codes({std::nullopt, true}).size(), kUnits.size());
  EXPECT_EQ(codes({"ZA", true}).size(), kUnits.size() - 1);
  EXPECT_EQ(codes({"NA", false}), std::vector<std::string>{"200"});
  EXPECT_TRUE(codes({"BW", true}).empty());
}

TEST_F(LexiconExportTest, CancelledExportLeavesNoFileAndAnExistingFileAsItWas) {
  std::vector<std::size_t> calls;
  const auto cancel = [&](std::size_t written, std::size_t total) {
    calls.push_back(written);
    EXPECT_EQ(total, kUnits.size());
    return false;
  };
  EXPECT_EQ(exportTo("new.json", {std::nullopt, true}, cancel).outcome, data::ExportOutcome::Cancelled);
  EXPECT_EQ(calls, std::vector<std::size_t>{kUnits.size()});
  std::ofstream(file("old.csv")) << "kept";
  EXPECT_EQ(exportTo("old.csv", {std::nullopt, true}, cancel).outcome, data::ExportOutcome::Cancelled);
  EXPECT_EQ(contentOf(file("old.csv")), "kept");
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(file(""))) left.push_back(entry.path().filename().string());
  EXPECT_EQ(left, std::vector<std::string>{"old.csv"});

  EXPECT_EQ(exportTo("old.csv", {"NA", false}).outcome, data::ExportOutcome::Written);
  EXPECT_EQ(readCsv(contentOf(file("old.csv"))).size(), 2u);  // replaced on completion
}

TEST_F(LexiconExportTest, UnwritableFileAndUnknownExtensionAreRefused) {
  const fs::path missing = file("missing") / "units.csv";
  try {
    data::exportLexicon(lexicon(), {}, missing.string());
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + missing.string());
  }
  EXPECT_THROW(exportTo("units.txt", {}), std::invalid_argument);
  EXPECT_FALSE(fs::exists(file("units.txt")));
  EXPECT_EQ(data::exportFormatOf("A.JSON"), data::ExportFormat::Json);
  EXPECT_EQ(data::exportFormatOf("a.Csv"), data::ExportFormat::Csv);
  EXPECT_EQ(data::exportFormatOf("csv"), std::nullopt);
}

}  // namespace
