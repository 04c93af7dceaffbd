// The database tool's commands, run as main() runs them, with their exit codes and messages.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/db_commands.h"

namespace {

namespace fs = std::filesystem;

class DbTool : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vorl-tool-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  int run(const std::vector<std::string>& arguments) {
    out_.str("");
    err_.str("");
    return tools::runDbTool(arguments, VORL_SAMPLE_DIR, out_, err_);
  }
  // A failure is one line naming the tool.
  void expectFailure(const std::vector<std::string>& arguments, const std::string& fragment) {
    EXPECT_EQ(run(arguments), tools::kFailure);
    const std::string message = err_.str();
    EXPECT_EQ(message.rfind("vorl_db: ", 0), 0u) << message;
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_NE(message.find(fragment), std::string::npos) << message;
  }
  std::string path(const std::string& name) const { return (root_ / name).string(); }
  std::string writeFile(const std::string& name, const std::string& content) const {
    fs::create_directories((root_ / name).parent_path());
    std::ofstream(root_ / name) << content;
    return path(name);
  }

  fs::path root_;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(DbTool, BadCommandLinesPrintUsage) {
  const std::vector<std::vector<std::string>> lines = {
      {},
      {"drop", "x"},
      {"create", "x"},
      {"create", "x", "lexicons"},
      {"create", "x", "lexicon", "--password", "p"},
      {"import", "x", "working", "y"},
      {"import", "x", "lexicon"},
      {"import", "x", "lexicon", "y", "--password"},
      {"show", "a", "--password", "p", "--password", "q"},
      {"sample"},
      {"show", "a", "b"},
      {"show", "a", "--withdrawn"},
      {"export", "a", "units.txt"},
      {"export", "a"},
      {"export", "a", "units.csv", "--country"},
      {"export", "a", "units.csv", "--withdrawn", "--withdrawn"}};
  for (const auto& line : lines) {
    EXPECT_EQ(run(line), tools::kUsageError) << testing::PrintToString(line);
    EXPECT_NE(err_.str().find("usage: vorl_db"), std::string::npos);
  }
}

TEST_F(DbTool, SampleThenShowPrintsCountriesNoteAndTree) {
  ASSERT_EQ(run({"sample", path("data")}), 0) << err_.str();
  ASSERT_EQ(run({"show", path("data/engine.ini")}), 0) << err_.str();
  std::istringstream report(out_.str());
  std::vector<std::string> lines;
  for (std::string line; std::getline(report, line);) lines.push_back(line);
  ASSERT_GT(lines.size(), 10u);
  EXPECT_EQ(lines[1], "Data last updated: 14 March 2025");
  EXPECT_NE(out_.str().find("  ZA  South Africa: 330 units (2 withdrawn)"), std::string::npos) << out_.str();

  const auto heading = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.starts_with("Unit hierarchy of ");
  });
  ASSERT_NE(heading, lines.end());
  const auto firstCountry = std::find(lines.begin(), lines.end(), "Countries") + 1;
  EXPECT_EQ(heading->substr(18, 2), firstCountry->substr(2, 2)) << "the tree is of the first country";
  std::size_t previousIndent = 0;
  for (auto line = heading + 1; line != lines.end(); ++line) {
    const std::size_t indent = line->find_first_not_of(' ');
    EXPECT_EQ(indent % 2, 0u) << *line;
    EXPECT_LE(indent, previousIndent + 2) << "a unit deeper than below its parent: " << *line;
    if (line == heading + 1) {
      EXPECT_EQ(indent, 2u) << "top level first";
    }
    previousIndent = indent;
  }
}

TEST_F(DbTool, ShowFailsWithOneLineForEachFault) {
  expectFailure({"show", path("none.ini")}, "Configuration file not found");
  ASSERT_EQ(run({"sample", path("data")}), 0) << err_.str();
  expectFailure({"show", path("data/engine.ini"), "--password", "wrong"}, "VORL");
  writeFile("garbage/VORL/tables.sqlite", "this is not a database file, whatever its name says");
  const std::string ini = writeFile("garbage/engine.ini", "[Aliases]\nVORL=" + path("garbage/VORL") + "\n");
  expectFailure({"show", ini}, "not a database");
  expectFailure({"import", path("garbage/VORL"), "lexicon", path("garbage")}, "not a database");
  expectFailure({"create", path("garbage/VORL"), "working"}, "not a database");
  const std::string missing = writeFile("missing/engine.ini", "[Aliases]\nVORL=" + path("missing/VORL") + "\n");
  expectFailure({"show", missing}, "VORL");
}

TEST_F(DbTool, CreateAndImportThroughThePassword) {
  expectFailure({"create", path("absent"), "lexicon"}, "absent");
  fs::create_directories(path("lexicon"));
  ASSERT_EQ(run({"create", path("lexicon"), "lexicon"}), 0) << err_.str();
  const std::string text = path("text");
  writeFile("text/CountryList.tsv", "CountryID\tCountryName\nZA\tSouth Africa\n");
  expectFailure({"import", path("lexicon"), "lexicon", text, "--password", "Pluvek"}, "VORL");
  ASSERT_EQ(run({"import", path("lexicon"), "lexicon", text}), 0) << err_.str();
  expectFailure({"import", path("lexicon"), "lexicon", text}, "CountryList.tsv, line 2");
  expectFailure({"import", path("lexicon"), "results", text}, "no table 'CountryList'");
}

// The sample has 330 units in ZA, 2 of them withdrawn (see the show command above).
TEST_F(DbTool, ExportWritesTheChosenUnitsAndFailsWithOneLine) {
  ASSERT_EQ(run({"sample", path("data")}), 0) << err_.str();
  const std::string ini = path("data/engine.ini");
  ASSERT_EQ(run({"export", ini, path("za.csv"), "--country", "ZA"}), 0) << err_.str();
  EXPECT_EQ(out_.str(), "Exported 328 units of ZA to " + path("za.csv") + "\n");
  std::ifstream csv(path("za.csv"));
  std::string header;
  std::getline(csv, header);
  EXPECT_EQ(header.rfind("Years,Code,Name,", 0), 0u) << header;
  ASSERT_EQ(run({"export", ini, path("za.json"), "--withdrawn", "--country", "ZA"}), 0) << err_.str();
  EXPECT_EQ(out_.str(), "Exported 330 units of ZA to " + path("za.json") + "\n");
  ASSERT_EQ(run({"export", ini, path("all.json")}), 0) << err_.str();
  EXPECT_NE(out_.str().find("units of every country"), std::string::npos) << out_.str();
  expectFailure({"export", ini, path("missing/units.csv")}, "Unable to write to " + path("missing/units.csv"));
  expectFailure({"export", ini, path("units.csv"), "--password", "wrong"}, "VORL");
  EXPECT_FALSE(fs::exists(path("units.csv")));
}

}  // namespace
