#include "ui_test_support.h"

#include "db_engine/database.h"
#include "db_engine/field.h"
#include "db_engine/schema.h"

namespace test {
namespace {

engine::DatabaseSchema testSchema() {
  using engine::FieldType;
  engine::TableSchema units{"UNITS.DB",
                            {{"Code", FieldType::Integer, 0, true},
                             {"Name", FieldType::String, 10},
                             {"Rank", FieldType::String, 12},
                             {"Dated", FieldType::Boolean},
                             {"Years", FieldType::Float, 0, false, "###0.00"},
                             {"Notes", FieldType::Memo, 240}},
                            {"Code"},
                            {},
                            {}};
  engine::TableSchema countries{"COUNTRY.DB",
                                {{"CountryID", FieldType::String, 2, true}, {"CountryName", FieldType::String, 30}},
                                {"CountryID"},
                                {},
                                {}};
  return {"TEST", {units, countries}};
}

}  // namespace

TestDatabase::TestDatabase(const std::string& password) : directory_(temporary_.path().toStdString()) {
  engine::createDatabase(directory_, testSchema(), password);
  session_.setAlias("TEST", directory_);
  if (!password.empty()) {
    session_.addPassword(password);
  }
}

std::unique_ptr<engine::Table> TestDatabase::table(const std::string& name, const std::string& tableName) {
  auto table = std::make_unique<engine::Table>(session_, name);
  table->setDatabaseName("TEST");
  table->setTableName(tableName);
  return table;
}

void TestDatabase::addUnits(const std::vector<UnitRow>& rows) {
  auto units = table("Filler", "UNITS.DB");
  units->open();
  for (const UnitRow& row : rows) {
    units->append();
    units->fieldByName("Code").setAsInteger(row.code);
    units->fieldByName("Name").setAsString(row.name);
    units->fieldByName("Rank").setAsString(row.rank);
    units->fieldByName("Dated").setAsString(row.dated);
    units->fieldByName("Years").setAsString(row.years);
    units->fieldByName("Notes").setAsString(row.notes);
    units->post();
  }
}

void TestDatabase::addCountries(const std::vector<std::pair<std::string, std::string>>& countries) {
  auto list = table("Filler", "COUNTRY.DB");
  list->open();
  for (const auto& [id, name] : countries) {
    list->append();
    list->fieldByName("CountryID").setAsString(id);
    list->fieldByName("CountryName").setAsString(name);
    list->post();
  }
}

UnitsFixture::UnitsFixture(bool readOnly) : units(database.table("Units", "UNITS.DB")) {
  database.addUnits({{1, "Alpha", "Group", "True", "1234.5", "First notes"},
                     {2, "Beta", "Formation", "False", "", "Second notes"},
                     {3, "Gamma", "Member", "", "77", ""}});
  units->setReadOnly(readOnly);
  source.setDataset(units.get());
  units->open();
  units->fieldByName("Years").setDisplayFormat("###0.00");
}

}  // namespace test
