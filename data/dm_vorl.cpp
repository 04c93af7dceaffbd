#include "data/dm_vorl.h"

#include "data/lexicon_schema.h"
#include "data/schema_fields.h"

namespace data {

namespace {

constexpr const char* kDatabase = "VORL";
// Units at or beyond the age of the Earth are withdrawn from the browsing views.
constexpr const char* kBrowsingBound = "Years<4600000000";

const engine::TableSchema& lexiconTable(std::string_view name) { return tableOf(lexiconSchema(), name); }

TableDeclaration wholeTable(std::string name, std::string table, std::string indexFields = {}) {
  const std::vector<engine::FieldDef> fields = allFields(lexiconTable(table));
  return {.name = std::move(name), .database = kDatabase, .table = std::move(table),
          .indexFields = std::move(indexFields), .fields = fields};
}

TableDeclaration detailOf(TableDeclaration detail, std::string master, std::string masterFields) {
  detail.master = std::move(master);
  detail.masterFields = std::move(masterFields);
  return detail;
}

TableDeclaration unitView(std::string name, std::string index, std::string master, std::string masterFields,
                          std::size_t fieldCount) {
  return {.name = std::move(name), .database = kDatabase, .table = "VORLLIST.DB", .index = std::move(index),
          .master = std::move(master), .masterFields = std::move(masterFields), .filter = kBrowsingBound,
          .fields = firstFields(lexiconTable("VORLLIST.DB"), fieldCount)};
}

TableDeclaration readOnly(TableDeclaration declaration) {
  declaration.readOnly = true;
  return declaration;
}

std::vector<DatasetDeclaration> unitDatasets() {
  const std::size_t allUnitFields = lexiconTable("VORLLIST.DB").fields.size();
  TableDeclaration parent = unitView("VORLList0", "UQCode", "dsVORLList", "LParent", 8);
  parent.filter.clear();  // a withdrawn parent is still shown as the parent of its children
  return {
      wholeTable("CountryList", "CountryList.db"),
      unitView("VORLList", "CountryIndex", "dsCountryList", "CountryID", allUnitFields),
      readOnly(parent),
      unitView("VORLList2", "LParentIndex", "dsVORLList", "Code", allUnitFields),
      unitView("VORLList3", "LParentIndex", "dsVORLList2", "Code", 10),
      readOnly(detailOf(wholeTable("Status", "VORLSTAT.DB", "Code"), "dsVORLList", "Status")),
      readOnly(detailOf(wholeTable("Chrono", "CHRONO.DB", "CODE"), "dsVORLList", "CParent")),
      wholeTable("WhenUpdated", "VORLWhen.db"),
      detailOf(wholeTable("Rank", "Rank.DB", "RankAbr"), "dsVORLList", "Rank"),
      detailOf(wholeTable("Rank0", "Rank.DB", "RankAbr"), "dsVORLList0", "Rank"),
      wholeTable("AreaList1", "AreaList.db"),
      wholeTable("AreaList2", "AreaList.db"),
      wholeTable("AreaList3", "AreaList.db"),
  };
}

// Occurrences, synonyms and correlatives of one unit view: the current unit's (suffix "") or the
// current sub-unit's (suffix "2").
std::vector<DatasetDeclaration> detailsOfUnit(const std::string& unitSource, const std::string& suffix,
                                              const std::string& areaListName) {
  TableDeclaration correlatedUnit{.name = "CorrelList" + suffix, .database = kDatabase, .table = "VORLLIST.DB",
                                  .index = "UQCode", .master = "dsCorrelatives" + suffix,
                                  .masterFields = "Correlative",
                                  .fields = pickFields(lexiconTable("VORLLIST.DB"),
                                                       {"Name", "Rank", "CountryID", "Years", "Code"})};
  return {
      detailOf(wholeTable("CodeArea" + suffix, "CodeArea.DB", "Code"), unitSource, "Code"),
      detailOf(wholeTable(areaListName, "AreaList.db", "AreaID"), "dsCodeArea" + suffix, "Area"),
      detailOf(wholeTable("SynonList" + suffix, "SynonList.DB", "Code"), unitSource, "Code"),
      wholeTable("Synonyms" + suffix, "Synonyms.db"),
      detailOf(wholeTable("Correlatives" + suffix, "Correlatives.db", "Code"), unitSource, "Code"),
      correlatedUnit,
      detailOf(wholeTable("CorrelCtry" + suffix, "CountryList.db", "CountryID"), "dsCorrelList" + suffix,
               "CountryID"),
  };
}

// The sub-units of the current unit that occur in one area, youngest first. Both parameters are
// bound, never spliced into the text.
QueryDeclaration areaQuery(int number) {
  std::vector<engine::FieldDef> fields =
      pickFields(lexiconTable("VORLLIST.DB"), {"Name", "Rank", "CountryID", "Years", "Code", "LParent", "CParent"});
  fields.push_back(pickFields(lexiconTable("CodeArea.DB"), {"Area"}).front());
  return {.name = "QArea" + std::to_string(number),
          .database = kDatabase,
          .sql = {"select * from vorllist,codearea", "where vorllist.LParent=:Code",
                  "and vorllist.Code=codearea.Code", "and codearea.Area=:AreaID", "order by Years"},
          .params = {{"Code", engine::FieldType::Integer, {}},
                     {"AreaID", engine::FieldType::String, std::string("1")}},
          .dataSource = "dsVORLList",
          .live = true,
          .fields = fields};
}

ModuleDeclaration declaration() {
  ModuleDeclaration module{.databases = {{.object = "DB1", .alias = kDatabase, .databaseName = "", .params = {""}}},
                           .datasets = unitDatasets()};
  for (auto& dataset : detailsOfUnit("dsVORLList", "", "AreaList")) module.datasets.push_back(std::move(dataset));
  for (auto& dataset : detailsOfUnit("dsVORLList2", "2", "AreaListL2")) module.datasets.push_back(std::move(dataset));
  for (int number = 1; number <= 3; ++number) module.datasets.emplace_back(areaQuery(number));
  return module;
}

}  // namespace

TdmVORL::TdmVORL(engine::Session& session) : DataModule(session, declaration()) {}

void TdmVORL::openStartupDatasets() {
  for (std::string_view name : startupOrder) dataset(name).open();
}

}  // namespace data
