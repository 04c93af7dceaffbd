// Profile files: lookups ignoring case, defaults, integer parsing, writing in place.
#include "platform/profile_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    directory_ = std::filesystem::temp_directory_path() / ("vorl-profile-" + std::to_string(random()));
    std::filesystem::create_directories(directory_);
    file = (directory_ / "VORL.INI").string();
  }
  void TearDown() override { std::filesystem::remove_all(directory_); }

  void write(const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
  std::string contents() const {
    std::ifstream input(file, std::ios::binary);
    std::stringstream text;
    text << input.rdbuf();
    return text.str();
  }

  std::filesystem::path directory_;
  std::string file;
};

TEST_F(ProfileFileTest, ReadsIgnoringCaseAndFallsBackWhenMissing) {
  EXPECT_EQ(platform::readProfileString(file, "Report setup", "Report file", "C:\\VORL\\VORL.rpd"), "C:\\VORL\\VORL.rpd");
  write("; settings\n[Report Setup]\n  report FILE =  /home/g/reports.rpd  \n[Other links]\nAmbrell=1\nEmpty=\n");
  EXPECT_EQ(platform::readProfileString(file, "report setup", "Report file", "x"), "/home/g/reports.rpd");
  EXPECT_EQ(platform::readProfileString(file, "Other links", "Sequence", "fallback"), "fallback");
  EXPECT_EQ(platform::readProfileString(file, "Nothing", "Ambrell", "fallback"), "fallback");
  EXPECT_EQ(platform::readProfileString(file, "Other links", "Empty", "fallback"), "") << "present but empty";
  EXPECT_EQ(platform::readProfileString(file, "Report setup", "Ambrell", "none"), "none") << "keys belong to their section";
}

TEST_F(ProfileFileTest, LongValuesAreCut) {
  write("[Report setup]\nReport file=" + std::string(3000, 'a') + "\n");
  EXPECT_EQ(platform::readProfileString(file, "Report setup", "Report file", "").size(), platform::kProfileValueLimit);
}

TEST_F(ProfileFileTest, IntegersAreDecimalOrHexAndWordsCountAsMissing) {
  write("[Other links]\nA=1\nB=0x1F\nC=yes\nD=-3\nE=0\nF=12abc\n");
  EXPECT_EQ(platform::readProfileInteger(file, "Other links", "A", 7), 1);
  EXPECT_EQ(platform::readProfileInteger(file, "Other links", "B", 7), 31);
  EXPECT_EQ(platform::readProfileInteger(file, "Other links", "C", 7), 7);
  EXPECT_EQ(platform::readProfileInteger(file, "Other links", "D", 7), -3);
  EXPECT_EQ(platform::readProfileInteger(file, "Other links", "E", 7), 0);
  EXPECT_EQ(platform::readProfileInteger(file, "Other links", "F", 7), 12) << "the leading number counts";
  EXPECT_EQ(platform::readProfileInteger(file, "Other links", "Missing", 7), 7);
}

TEST_F(ProfileFileTest, WritingCreatesFileAndSectionAndReplacesInPlace) {
  EXPECT_TRUE(platform::writeProfileString(file, "Other links", "Ambrell", "1"));
  EXPECT_EQ(contents(), "[Other links]\nAmbrell=1\n");

  write("; comment\n[Report setup]\nReport file=old\n\n[Other links]\nambrell=0\nSequence=1\n[Mine]\nx=y\n");
  EXPECT_TRUE(platform::writeProfileString(file, "report setup", "Report file", "new"));
  EXPECT_TRUE(platform::writeProfileString(file, "Other links", "Ambrell", "1"));
  EXPECT_TRUE(platform::writeProfileString(file, "Other links", "Extra", "2"));
  EXPECT_EQ(contents(),
            "; comment\n[Report setup]\nReport file=new\n\n[Other links]\nAmbrell=1\nSequence=1\nExtra=2\n[Mine]\nx=y\n");

  const auto sections = platform::readProfileSection(file, "other LINKS");
  ASSERT_EQ(sections.size(), 3u);
  EXPECT_EQ(sections[2], (std::pair<std::string, std::string>{"Extra", "2"}));
  EXPECT_TRUE(platform::readProfileSection(file, "Absent").empty());
}

TEST_F(ProfileFileTest, KeepsWindowsLineEndingsAndReportsUnwritableFiles) {
  write("[A]\r\nk=1\r\n");
  EXPECT_TRUE(platform::writeProfileString(file, "A", "k", "2"));
  EXPECT_TRUE(platform::writeProfileString(file, "B", "j", "3"));
  EXPECT_EQ(contents(), "[A]\r\nk=2\r\n[B]\r\nj=3\r\n");
  EXPECT_EQ(platform::readProfileString(file, "A", "k", ""), "2");
  EXPECT_FALSE(platform::writeProfileString((directory_ / "missing" / "x.ini").string(), "A", "k", "v"));
}

}  // namespace
