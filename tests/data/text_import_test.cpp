// Loading table files: values of every type back through the engine, and errors that name the
// file and line and leave the database as it was.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/text_import.h"
#include "db_engine/database.h"
#include "db_engine/errors.h"
#include "db_engine/session.h"
#include "db_engine/table.h"

namespace {

namespace fs = std::filesystem;
using engine::FieldType;

engine::DatabaseSchema importSchema() {
  engine::TableSchema kinds{"Kinds.DB", {{"Code", FieldType::Integer, 0, true}, {"Name", FieldType::String, 10}},
                            {"Code"}, {}, {}};
  engine::TableSchema samples{"Samples.db",
                              {{"Code", FieldType::Integer},
                               {"Label", FieldType::String, 8},
                               {"Small", FieldType::SmallInt},
                               {"Ratio", FieldType::Float},
                               {"Taken", FieldType::Date},
                               {"Checked", FieldType::Boolean},
                               {"Notes", FieldType::Memo, 20},
                               {"Kind", FieldType::Integer}},
                              {"Code"},
                              {},
                              {engine::LookupRule{"Kind", "Kinds.DB", "Code"}}};
  return {"Test", {kinds, samples}};
}

class TextImport : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vorl-import-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    text_ = root_ / "text";
    fs::create_directories(text_);
    fs::create_directories(root_ / "db");
    engine::createDatabase((root_ / "db").string(), importSchema(), "");
    session_.setAlias("Test", (root_ / "db").string());
    database_.setAliasName("Test");
  }
  void TearDown() override {
    database_.close();
    fs::remove_all(root_);
  }

  std::string writeFile(const std::string& name, const std::string& content) {
    const fs::path path = text_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }
  void import() { data::importTableFiles(database_, text_.string(), importSchema()); }

  engine::Table& open(const std::string& table) {
    table_ = std::make_unique<engine::Table>(session_, "Check");
    table_->setDatabaseName("Test");
    table_->setTableName(table);
    table_->open();
    return *table_;
  }

  // Imports and returns the error, which must name path and line.
  engine::EngineError importError(const std::string& path, int line) {
    try {
      import();
    } catch (const engine::EngineError& error) {
      EXPECT_NE(std::string(error.what()).find(path + ", line " + std::to_string(line) + ": "), std::string::npos)
          << error.what();
      return error;
    }
    ADD_FAILURE() << "no error for " << path;
    return engine::EngineError(0, "");
  }

  fs::path root_;
  fs::path text_;
  engine::Session session_{"ImportTest"};
  engine::Database database_{session_, "ImportTest"};
  std::unique_ptr<engine::Table> table_;
};

TEST_F(TextImport, ValuesOfEveryTypeComeBackThroughTheEngine) {
  writeFile("KINDS.tsv", "\xEF\xBB\xBF# kinds, file name in capitals\nCode\tName\n1\tLava\r\n2\tTu\\nff\\\\\n");
  writeFile("Samples.tsv",
            "# fields in an order of their own; Notes is not named\n"
            "Kind\tChecked\tTaken\tRatio\tSmall\tLabel\tCode\n"
            "\n"
            "1\tTrue\t2024-02-29\t0.5\t-32768\tTab\\there\t10\n"
            "\tfalse\t\t1e-3\t\t\t11\n"
            "2\tFALSE\t1999-12-31\t-4600000000\t32767\tGr\xC3\xBC" "neb\xC3\xB6l\t12\n");
  writeFile("Notes.md", "not a table file, ignored");
  import();

  engine::Table& samples = open("Samples");
  ASSERT_EQ(samples.recordCount(), 3u);
  samples.first();
  EXPECT_EQ(samples.fieldByName("Label").asString(), "Tab\there");
  EXPECT_EQ(samples.fieldByName("Small").asInteger(), -32768);
  EXPECT_DOUBLE_EQ(samples.fieldByName("Ratio").asFloat(), 0.5);
  EXPECT_EQ(std::get<std::string>(samples.fieldByName("Taken").value()), "2024-02-29");
  EXPECT_TRUE(samples.fieldByName("Checked").asBoolean());
  EXPECT_TRUE(samples.fieldByName("Notes").isNull());
  samples.next();
  EXPECT_TRUE(samples.fieldByName("Label").isNull());
  EXPECT_TRUE(samples.fieldByName("Small").isNull());
  EXPECT_TRUE(samples.fieldByName("Taken").isNull());
  EXPECT_TRUE(samples.fieldByName("Kind").isNull());
  EXPECT_FALSE(samples.fieldByName("Checked").isNull());
  EXPECT_FALSE(samples.fieldByName("Checked").asBoolean());
  EXPECT_DOUBLE_EQ(samples.fieldByName("Ratio").asFloat(), 0.001);
  samples.next();
  EXPECT_EQ(samples.fieldByName("Label").asString(), "Gr\xC3\xBCneb\xC3\xB6l");  // 8 characters, 10 bytes
  EXPECT_DOUBLE_EQ(samples.fieldByName("Ratio").asFloat(), -4600000000.0);
  EXPECT_EQ(open("Kinds").recordCount(), 2u);
  EXPECT_EQ(table_->fieldByName("Name").asString(), "Lava");  // the carriage return is not part of the value
  table_->next();
  EXPECT_EQ(table_->fieldByName("Name").asString(), "Tu\nff\\");
}

struct BadLine {
  const char* name;
  std::string content;  // of Samples.tsv; Kinds.tsv holds kind 1
  int line;
  std::string message;
  int code;
};

class TextImportErrors : public TextImport, public testing::WithParamInterface<BadLine> {};

TEST_P(TextImportErrors, NameTheFileAndLineAndStoreNothing) {
  writeFile("Kinds.tsv", "Code\tName\n1\tLava\n");
  const std::string path = writeFile("Samples.tsv", GetParam().content);
  const engine::EngineError error = importError(path, GetParam().line);
  EXPECT_NE(std::string(error.what()).find(GetParam().message), std::string::npos) << error.what();
  EXPECT_EQ(error.code(), GetParam().code);
  EXPECT_EQ(open("Kinds").recordCount(), 0u) << "the rows of the file before the failure were kept";
}

namespace code = engine::code;
INSTANTIATE_TEST_SUITE_P(
    Lines, TextImportErrors,
    testing::Values(
        BadLine{"BadInteger", "Code\tSmall\n1\t2\n# comment\nx1\t3\n", 4, "'x1' is not a valid integer", code::Conversion},
        BadLine{"IntegerWithTail", "Code\n12abc\n", 2, "'12abc' is not a valid integer", code::Conversion},
        BadLine{"SmallIntRange", "Code\tSmall\n1\t40000\n", 2, "out of range", code::Conversion},
        BadLine{"IntegerRange", "Code\n2147483648\n", 2, "out of range", code::Conversion},
        BadLine{"BadFloat", "Code\tRatio\n1\t0,5\n", 2, "'0,5' is not a valid floating-point", code::Conversion},
        BadLine{"NotANumber", "Code\tRatio\n1\tnan\n", 2, "'nan' is not a valid floating-point", code::Conversion},
        BadLine{"NoSuchDay", "Code\tTaken\n1\t2023-02-29\n", 2, "'2023-02-29' is not a valid date", code::Conversion},
        BadLine{"DateFormat", "Code\tTaken\n1\t29/02/2024\n", 2, "'29/02/2024' is not a valid date", code::Conversion},
        BadLine{"BadBoolean", "Code\tChecked\n1\tyes\n", 2, "'yes' is not a valid boolean", code::Conversion},
        BadLine{"TooLong", "Code\tLabel\n1\tNineChars\n", 2, "longer than 8 characters", code::Conversion},
        BadLine{"UnknownEscape", "Code\tLabel\n1\ta\\qb\n", 2, "unknown escape \\q", code::Conversion},
        BadLine{"TrailingBackslash", "Code\tLabel\n1\tab\\\n", 2, "backslash ends the line", code::Conversion},
        BadLine{"TooFewCells", "Code\tLabel\tSmall\n1\tab\n", 2, "2 cells where the header names 3", code::General},
        BadLine{"TooManyCells", "Code\n1\t2\n", 2, "2 cells where the header names 1", code::General},
        BadLine{"UnknownField", "# samples\nCode\tColour\n", 2, "has no field 'Colour'", code::FieldNotFound},
        BadLine{"FieldTwice", "Code\tcode\n", 1, "named twice", code::General},
        BadLine{"NoHeader", "# only a comment\n", 1, "no header line", code::General},
        BadLine{"DuplicateKey", "Code\n1\n2\n1\n", 4, "", code::KeyViolation},
        BadLine{"UnknownKind", "Code\tKind\n1\t1\n2\t99\n", 3, "", code::LookupValue}),
    [](const testing::TestParamInfo<BadLine>& info) { return info.param.name; });

TEST_F(TextImport, FileOfNoTableIsRefusedBeforeAnythingIsStored) {
  writeFile("Kinds.tsv", "Code\tName\n1\tLava\n");
  const std::string path = writeFile("Minerals.tsv", "Code\n1\n");
  const engine::EngineError error = importError(path, 1);
  EXPECT_EQ(error.code(), engine::code::TableNotFound);
  EXPECT_NE(std::string(error.what()).find("'Minerals'"), std::string::npos);
  EXPECT_EQ(open("Kinds").recordCount(), 0u);
}

// A rule of the database that undoes the whole transaction leaves nothing to roll back; the
// refusal, not the failing rollback behind it, is what the import reports.
TEST_F(TextImport, RefusalThatEndsTheTransactionIsTheErrorReported) {
  database_.open();
  database_.execute("CREATE TRIGGER NoBasalt BEFORE INSERT ON Kinds WHEN NEW.Name = 'Basalt'"
                    " BEGIN SELECT RAISE(ROLLBACK, 'basalt is not a kind'); END");
  const std::string path = writeFile("Kinds.tsv", "Code\tName\n1\tLava\n2\tBasalt\n");
  const engine::EngineError error = importError(path, 3);
  EXPECT_NE(std::string(error.what()).find("basalt is not a kind"), std::string::npos) << error.what();
  EXPECT_FALSE(database_.inTransaction());
  EXPECT_EQ(open("Kinds").recordCount(), 0u);
}

TEST_F(TextImport, MissingDirectoryIsReported) {
  EXPECT_THROW(data::importTableFiles(database_, (root_ / "absent").string(), importSchema()), std::runtime_error);
}

}  // namespace
