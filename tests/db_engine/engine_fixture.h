#pragma once
// A small lexicon-like database in a temporary directory: countries, units with a three-level
// hierarchy, and the rules whose refusals the tests provoke.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

#include "db_engine/data_source.h"
#include "db_engine/database.h"
#include "db_engine/errors.h"
#include "db_engine/query.h"
#include "db_engine/schema.h"
#include "db_engine/session.h"
#include "db_engine/table.h"

namespace engine_test {

class TemporaryDirectory {
 public:
  TemporaryDirectory() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() / ("vorl-engine-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TemporaryDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TemporaryDirectory(const TemporaryDirectory&) = delete;
  TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;
  std::string path() const { return path_.string(); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline engine::DatabaseSchema lexiconSchema() {
  using engine::FieldType;
  engine::TableSchema country{"CountryList.db",
                              {{"CountryID", FieldType::String, 2}, {"CountryName", FieldType::String, 50}},
                              {"CountryID"},
                              {},
                              {}};
  engine::TableSchema units{"VORLLIST.DB",
                            {{"Years", FieldType::Float},
                             {"Code", FieldType::Integer},
                             {"Name", FieldType::String, 10, true},
                             {"Rank", FieldType::String, 15},
                             {"LParent", FieldType::Integer},
                             {"CountryID", FieldType::String, 2},
                             {"AgeMinimum", FieldType::Float},
                             {"AgeMaximum", FieldType::Float},
                             {"DateModified", FieldType::Date},
                             {"Dated", FieldType::Boolean},
                             {"Description", FieldType::FormattedMemo, 20}},
                            {"Code"},
                            {{"CountryIndex", {"CountryID", "Name", "Code"}},
                             {"LParentIndex", {"LParent", "Name", "Code"}},
                             {"UQCode", {"Code"}, true}},
                            {engine::ReferenceRule{{"CountryID"}, "CountryList.db", {"CountryID"}},
                             engine::LookupRule{"Rank", "Rank.DB", "RankAbr"},
                             engine::RangeRule{"Years", 0.0, 5e9},
                             engine::CheckRule{"AgeOrder", "AgeMinimum <= AgeMaximum"}}};
  engine::TableSchema rank{"Rank.DB",
                           {{"RankAbr", FieldType::String, 15}, {"Rank", FieldType::String, 15}},
                           {"RankAbr"},
                           {},
                           {}};
  engine::TableSchema codeArea{"CodeArea.DB",
                               {{"Code", FieldType::Integer}, {"Area", FieldType::String, 20}},
                               {},
                               {{"CodeIndex", {"Code"}}},
                               {}};
  return {"VORL", {country, units, rank, codeArea}};
}

// Runs SQL on the database file directly (fixtures only).
inline void runSql(const std::string& directory, const std::string& sql, const std::string& password = "") {
  engine::Session session("fixture");
  session.addPassword(password);
  engine::Database database(session, "fixture");
  database.setParams({"PATH=" + directory});
  database.open();
  database.execute(sql);
}

// ZA: Karoo (1) > Ecca (2) > {Prince Albert (4), Whitehill (5)}, Beaufort (3); Years of Ecca 300e6.
// NA: Nama (10); withdrawn units: Old (6, ZA, Years 4.6e9, parent 1) and Edge (7, 4599999999),
// Blank (8, no Years, parent 1).
inline void fillLexicon(const std::string& directory, const std::string& password = "") {
  runSql(directory,
         "INSERT INTO CountryList VALUES ('ZA','South Africa'),('NA','Namibia'),('BW','Botswana');"
         "INSERT INTO Rank VALUES ('Gp','Group'),('Fm','Formation'),('Mb','Member'),('Sg','Subgroup');"
         "INSERT INTO VORLLIST (Years, Code, Name, Rank, LParent, CountryID) VALUES"
         " (250e6,1,'Karoo','Sg',0,'ZA'),(300e6,2,'Ecca','Gp',1,'ZA'),(260e6,3,'Beaufort','Gp',1,'ZA'),"
         " (290e6,4,'Prince Alb','Fm',2,'ZA'),(280e6,5,'Whitehill','Fm',2,'ZA'),"
         " (4600000000,6,'Old','Fm',1,'ZA'),(4599999999,7,'Edge','Fm',1,'ZA'),(NULL,8,'Blank','Fm',1,'ZA'),"
         " (540e6,10,'Nama','Gp',0,'NA');"
         "INSERT INTO CodeArea VALUES (4,'1'),(5,'1'),(5,'2'),(3,'1'),(6,'1'),(2,'7');",
         password);
}

// A session whose alias VORL names a fresh, filled lexicon.
class LexiconTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::createDatabase(directory.path(), lexiconSchema(), password());
    fillLexicon(directory.path(), password());
    session.setAlias("VORL", directory.path());
    session.addPassword(password());
  }
  virtual std::string password() const { return ""; }

  std::unique_ptr<engine::Table> table(const std::string& name, const std::string& tableName) {
    auto created = std::make_unique<engine::Table>(session, name);
    created->setDatabaseName("VORL");
    created->setTableName(tableName);
    return created;
  }

  TemporaryDirectory directory;
  engine::Session session{"test"};
};

// Records the data events a source sends.
class EventRecorder : public engine::DataLink {
 public:
  explicit EventRecorder(engine::DataSource& source) : source_(source) { source_.addLink(this); }
  ~EventRecorder() override { source_.removeLink(this); }
  void dataEvent(engine::DataEvent event, const engine::Field*) override { events.push_back(event); }
  int count(engine::DataEvent event) const {
    return static_cast<int>(std::count(events.begin(), events.end(), event));
  }
  std::vector<engine::DataEvent> events;

 private:
  engine::DataSource& source_;
};

}  // namespace engine_test
