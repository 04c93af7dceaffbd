#pragma once
// A data module owns named datasets, their data sources ("ds" + dataset name) and database
// objects, declared as data rather than as code.
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "db_engine/data_source.h"
#include "db_engine/database.h"
#include "db_engine/query.h"
#include "db_engine/schema.h"
#include "db_engine/session.h"
#include "db_engine/table.h"

namespace data {

struct TableDeclaration {
  std::string name;          // "VORLList"; its data source is "ds" + name
  std::string database;      // alias or database name
  std::string table;         // "VORLLIST.DB"
  std::string index = {};    // named index ...
  std::string indexFields = {};  // ... or field list
  std::string master = {};   // data source name of the master ("dsCountryList")
  std::string masterFields = {};
  std::string filter = {};   // filtered when not empty
  bool readOnly = false;
  std::vector<engine::FieldDef> fields = {};  // persistent fields; empty: all columns
};

struct QueryDeclaration {
  std::string name;
  std::string database;
  std::vector<std::string> sql;
  std::vector<engine::Param> params = {};
  std::string dataSource = {};  // where parameters come from
  bool live = false;
  std::vector<engine::FieldDef> fields = {};
};

struct DatabaseDeclaration {
  std::string object;        // "DB1"
  std::string alias;         // "VORL"
  std::string databaseName;  // "" or "DBunits"
  std::vector<std::string> params = {};
};

using DatasetDeclaration = std::variant<TableDeclaration, QueryDeclaration>;

// Everything a module holds, as data.
struct ModuleDeclaration {
  std::vector<DatabaseDeclaration> databases;
  std::vector<DatasetDeclaration> datasets;  // creation order: a master comes before its details
};

class DataModule {
 public:
  explicit DataModule(engine::Session& session);
  virtual ~DataModule();
  DataModule(const DataModule&) = delete;
  DataModule& operator=(const DataModule&) = delete;

  engine::Session& session() const { return session_; }
  // Lookups by name; each raises std::out_of_range naming what is missing.
  engine::Dataset& dataset(std::string_view name) const;
  engine::DataSource& dataSource(std::string_view name) const;  // "dsVORLList"
  engine::Field& field(std::string_view persistentName) const;  // "VORLListYears"
  engine::Database& databaseObject(std::string_view objectName) const;  // "DB1"
  // Every dataset in creation order.
  const std::vector<engine::Dataset*>& datasets() const { return order_; }

 protected:
  // Creates the declared database objects, then the datasets in order, all closed.
  DataModule(engine::Session& session, const ModuleDeclaration& declaration);
  engine::Table& table(std::string_view name) const;  // a declared table, by dataset name
  engine::Query& query(std::string_view name) const;
  engine::Table& addTable(const TableDeclaration& declaration);
  engine::Query& addQuery(const QueryDeclaration& declaration);
  engine::Database& addDatabase(const DatabaseDeclaration& declaration);

 private:
  void add(const TableDeclaration& declaration);
  void add(const QueryDeclaration& declaration);
  template <typename Kind>
  Kind& adopt(std::unique_ptr<Kind> dataset);  // creates its data source and keeps it

  engine::Session& session_;
  std::vector<std::unique_ptr<engine::Dataset>> datasets_;
  std::vector<engine::Dataset*> order_;
  std::vector<std::unique_ptr<engine::DataSource>> sources_;
  std::vector<std::unique_ptr<engine::Database>> databases_;
};

}  // namespace data
