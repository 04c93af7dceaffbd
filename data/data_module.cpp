#include "data/data_module.h"

#include <algorithm>
#include <stdexcept>

namespace data {

namespace {

template <typename Item, typename Name>
Item* findByName(const std::vector<std::unique_ptr<Item>>& items, std::string_view wanted, Name nameOf) {
  const auto found = std::find_if(items.begin(), items.end(), [&](const auto& item) { return nameOf(*item) == wanted; });
  return found == items.end() ? nullptr : found->get();
}

[[noreturn]] void missing(std::string_view what, std::string_view name) {
  throw std::out_of_range("No " + std::string(what) + " named " + std::string(name) + " in the data module");
}

}  // namespace

DataModule::DataModule(engine::Session& session) : session_(session) {}

DataModule::DataModule(engine::Session& session, const ModuleDeclaration& declaration) : session_(session) {
  for (const DatabaseDeclaration& database : declaration.databases) addDatabase(database);
  for (const DatasetDeclaration& dataset : declaration.datasets) {
    std::visit([this](const auto& item) { add(item); }, dataset);
  }
}

// Details and queries unhook from their masters' sources before those go, and every statement is
// finished before its connection closes.
DataModule::~DataModule() {
  for (auto dataset = order_.rbegin(); dataset != order_.rend(); ++dataset) (*dataset)->close();
  for (auto& source : sources_) source->setDataset(nullptr);
  while (!datasets_.empty()) datasets_.pop_back();
  sources_.clear();
  databases_.clear();
}

engine::Dataset& DataModule::dataset(std::string_view name) const {
  engine::Dataset* found = findByName(datasets_, name, [](const engine::Dataset& item) { return item.name(); });
  if (found == nullptr) missing("dataset", name);
  return *found;
}

engine::DataSource& DataModule::dataSource(std::string_view name) const {
  engine::DataSource* found = findByName(sources_, name, [](const engine::DataSource& item) { return item.name(); });
  if (found == nullptr) missing("data source", name);
  return *found;
}

engine::Field& DataModule::field(std::string_view persistentName) const {
  for (const engine::Dataset* dataset : order_) {
    if (!persistentName.starts_with(dataset->name())) continue;
    const std::string_view fieldName = persistentName.substr(dataset->name().size());
    for (const auto& field : dataset->fields()) {
      if (field->fieldName() == fieldName) return *field;
    }
  }
  missing("field", persistentName);
}

engine::Database& DataModule::databaseObject(std::string_view objectName) const {
  engine::Database* found =
      findByName(databases_, objectName, [](const engine::Database& item) { return item.objectName(); });
  if (found == nullptr) missing("database object", objectName);
  return *found;
}

engine::Table& DataModule::table(std::string_view name) const {
  auto* found = dynamic_cast<engine::Table*>(&dataset(name));
  if (found == nullptr) missing("table", name);
  return *found;
}

engine::Query& DataModule::query(std::string_view name) const {
  auto* found = dynamic_cast<engine::Query*>(&dataset(name));
  if (found == nullptr) missing("query", name);
  return *found;
}

template <typename Kind>
Kind& DataModule::adopt(std::unique_ptr<Kind> dataset) {
  Kind& added = *dataset;
  sources_.push_back(std::make_unique<engine::DataSource>("ds" + added.name(), &added));
  order_.push_back(&added);
  datasets_.push_back(std::move(dataset));
  return added;
}

engine::Table& DataModule::addTable(const TableDeclaration& declaration) {
  auto table = std::make_unique<engine::Table>(session_, declaration.name);
  table->setDatabaseName(declaration.database);
  table->setTableName(declaration.table);
  if (!declaration.index.empty()) table->setIndexName(declaration.index);
  if (!declaration.indexFields.empty()) table->setIndexFieldNames(declaration.indexFields);
  if (!declaration.master.empty()) {
    table->setMasterSource(&dataSource(declaration.master));
    table->setMasterFields(declaration.masterFields);
  }
  if (!declaration.filter.empty()) {
    table->setFilter(declaration.filter);
    table->setFiltered(true);
  }
  table->setReadOnly(declaration.readOnly);
  if (!declaration.fields.empty()) table->setFieldDefs(declaration.fields);
  return adopt(std::move(table));
}

engine::Query& DataModule::addQuery(const QueryDeclaration& declaration) {
  auto query = std::make_unique<engine::Query>(session_, declaration.name);
  query->setDatabaseName(declaration.database);
  query->setSql(declaration.sql);
  for (const engine::Param& param : declaration.params) query->declareParam(param);
  if (!declaration.dataSource.empty()) query->setDataSource(&dataSource(declaration.dataSource));
  query->setRequestLive(declaration.live);
  if (!declaration.fields.empty()) query->setFieldDefs(declaration.fields);
  return adopt(std::move(query));
}

engine::Database& DataModule::addDatabase(const DatabaseDeclaration& declaration) {
  auto database = std::make_unique<engine::Database>(session_, declaration.object);
  database->setAliasName(declaration.alias);
  database->setDatabaseName(declaration.databaseName);
  database->setParams(declaration.params);
  databases_.push_back(std::move(database));
  return *databases_.back();
}

void DataModule::add(const TableDeclaration& declaration) { addTable(declaration); }
void DataModule::add(const QueryDeclaration& declaration) { addQuery(declaration); }

}  // namespace data
