#include "reports/report_data.h"

#include "data/lexicon_schema.h"
#include "data/schema_fields.h"

namespace reports {

namespace {

constexpr const char* kDatabase = "VORL";
constexpr const char* kUnitTable = "Vorllist.DB";
// Units at or beyond the age of the Earth are left out of the reports, as out of the browsing views.
constexpr const char* kReportBound = "Years<4600000000";

const engine::TableSchema& lexiconTable(std::string_view name) { return data::tableOf(data::lexiconSchema(), name); }

std::vector<engine::FieldDef> unitFields() { return data::allFields(lexiconTable(kUnitTable)); }

// The parameter comes from the unit source given to the module, so it is bound in the constructor.
data::QueryDeclaration rootQuery() {
  return {.name = "ReportQuery1", .database = kDatabase, .sql = {},
          .params = {{"Code", engine::FieldType::Integer, {}}}, .fields = unitFields()};
}

data::TableDeclaration unitLevel(int level) {
  return {.name = "tVORLList" + std::to_string(level), .database = kDatabase, .table = kUnitTable,
          .filter = kReportBound, .fields = unitFields()};
}

// Every occurrence with its area's name; the report links them to a unit by Code.
data::QueryDeclaration areaQuery(std::string name, std::string unitSource) {
  std::vector<engine::FieldDef> fields = data::pickFields(lexiconTable("CodeArea.DB"), {"Code", "Area"});
  fields.push_back(data::pickFields(lexiconTable("AreaList.DB"), {"AreaName"}).front());
  return {.name = std::move(name), .database = kDatabase,
          .sql = {"select * from CodeArea, AreaList", "where CodeArea.Area=AreaList.AreaID"},
          .dataSource = std::move(unitSource), .fields = std::move(fields)};
}

data::ModuleDeclaration declaration() {
  data::ModuleDeclaration module{.databases = {}, .datasets = {rootQuery()}};
  for (int level = 2; level <= 5; ++level) module.datasets.emplace_back(unitLevel(level));
  module.datasets.emplace_back(areaQuery("tQCodeArea", "dsReportQuery1"));
  for (int level = 2; level <= 5; ++level) {
    module.datasets.emplace_back(
        areaQuery("tQCodeArea" + std::to_string(level), "dstVORLList" + std::to_string(level)));
  }
  module.datasets.emplace_back(data::TableDeclaration{.name = "tAreaList", .database = kDatabase,
                                                      .table = "AreaList.DB",
                                                      .fields = data::allFields(lexiconTable("AreaList.DB"))});
  return module;
}

std::vector<std::string> rootSql(TReportData::Root root) {
  return {"select * from VORLList", "where vorllist.years<4600000000",
          root == TReportData::Root::CurrentUnit ? "and vorllist.code = :Code" : "and vorllist.LParent=0"};
}

}  // namespace

TReportData::TReportData(engine::Session& session, engine::DataSource& unitSource)
    : DataModule(session, declaration()) {
  ReportQuery1.setDataSource(&unitSource);
  RPQueryConnection1.onValidateRow = [this](reporting::DataConnection& connection, bool& accept) {
    RPQueryConnection1ValidateRow(connection, accept);
  };
}

void TReportData::open(Root root) {
  for (engine::Table* level : {&tVORLList2, &tVORLList3, &tVORLList4, &tVORLList5}) level->open();
  ReportQuery1.setSql(rootSql(root));
  ReportQuery1.prepare();
  ReportQuery1.open();
  for (engine::Query* areas : {&tQCodeArea, &tQCodeArea2, &tQCodeArea3, &tQCodeArea4, &tQCodeArea5}) {
    areas->close();  // left open by an earlier run; prepare refuses an open query
    areas->prepare();
    areas->open();
  }
  tAreaList.open();
}

void TReportData::closeAfterRun() {
  for (engine::Dataset* dataset : std::initializer_list<engine::Dataset*>{
           &tVORLList2, &tVORLList3, &tVORLList4, &tVORLList5, &ReportQuery1}) {
    dataset->close();
  }
}

void TReportData::RPQueryConnection1ValidateRow(reporting::DataConnection&, bool&) const {}

}  // namespace reports
