#include "data/dm_ab_results.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <ctime>
#include <limits>
#include <stdexcept>

#include "data/results_schema.h"
#include "data/schema_fields.h"
#include "db_engine/errors.h"
#include "db_engine/session.h"

namespace data {

namespace {

constexpr const char* kResults = "ABResults";
constexpr const char* kWorking = "ABtmp";
constexpr const char* kUser = "ABtmp0";

std::vector<std::string> connectionParams(const engine::Session& session, const std::string& alias) {
  std::vector<std::string> params;
  if (const auto directory = session.aliasDirectory(alias)) params.push_back("PATH=" + *directory);
  params.push_back("ENABLE BCD=FALSE");
  params.push_back("DEFAULT DRIVER=SQLITE");
  return params;
}

DatabaseDeclaration connection(const engine::Session& session, std::string object, const std::string& name) {
  return {.object = std::move(object), .alias = name, .databaseName = name, .params = connectionParams(session, name)};
}

TableDeclaration whole(std::string name, std::string database, const engine::DatabaseSchema& schema,
                       std::string table, const DisplayFormats& formats = {}) {
  std::vector<engine::FieldDef> fields = withFormats(allFields(tableOf(schema, table)), formats);
  return {.name = std::move(name), .database = std::move(database), .table = std::move(table), .fields = fields};
}

TableDeclaration inResults(std::string name, std::string table, const DisplayFormats& formats = {}) {
  return whole(std::move(name), kResults, resultsSchema(), std::move(table), formats);
}

TableDeclaration scratch(std::string name, std::string database, std::string table) {
  return whole(std::move(name), std::move(database), workingSchema(), std::move(table));
}

TableDeclaration detailOf(TableDeclaration detail, std::string indexFields, std::string master,
                          std::string masterFields) {
  detail.indexFields = std::move(indexFields);
  detail.master = std::move(master);
  detail.masterFields = std::move(masterFields);
  return detail;
}

TableDeclaration byResult(TableDeclaration detail, std::string master) {
  return detailOf(std::move(detail), "RegressionNumber", std::move(master), "RegressionNumber");
}

const DisplayFormats kCountryFormats{
    {"CountryOffset", "####0.00"}, {"CountryOffset2", "####0.00"}, {"CountryOffset3", "####0.00"}};

TableDeclaration samples() {
  return inResults("SmpReg", "SmpReg.DB",
                   {{"Latitude", "###0.00000"},
                    {"Longitude", "###0.00000"},
                    {"Elevation", "###0.00"},
                    {"LatitudePrecision", "###0.00000"},
                    {"LongitudePrecision", "###0.00000"},
                    {"ElevationPrecision", "###0.00"}});
}

TableDeclaration suitesOfCountry() {
  TableDeclaration suites = inResults("Suite", "Suite.DB");
  suites.index = "Country";
  suites.master = "dsCountry";
  suites.masterFields = "CountryAbr";
  return suites;
}

// The result fields in the module's order, but with Lithology before DateString.
std::vector<engine::FieldDef> queryResultFields() {
  std::vector<engine::FieldDef> fields = allFields(tableOf(resultsSchema(), "IsoRgr20.DB"));
  const auto named = [&](std::string_view name) {
    return std::find_if(fields.begin(), fields.end(), [&](const engine::FieldDef& field) { return field.name == name; });
  };
  std::rotate(named("DateString"), named("Lithology"), named("Lithology") + 1);
  return fields;
}

std::vector<DatasetDeclaration> datasetDeclarations() {
  TableDeclaration groupingFree = inResults("GroupingFree", "Grouping.DB");
  groupingFree.fields = pickFields(tableOf(resultsSchema(), "Grouping.DB"), {"Grouping"});
  TableDeclaration querySamples = byResult(inResults("QdmSmp", "SmpReg.DB"), "dsQuerydm");
  querySamples.fields = firstFields(tableOf(resultsSchema(), "SmpReg.DB"), 6);
  return {
      inResults("Country", "Country.db", kCountryFormats),
      suitesOfCountry(),
      inResults("Lithology", "Lithol.DB"),
      inResults("Interpretation", "Interpretation.db"),
      inResults("Technique", "Technique.DB"),
      inResults("CountryList", "Country.db", kCountryFormats),
      inResults("SuiteList", "Suite.DB"),
      detailOf(inResults("IsoResults", "IsoRgr20.DB"), "CountryAbr", "dsCountry", "CountryAbr"),
      byResult(samples(), "dsIsoResults"),
      inResults("IsoSys", "IsoSystem.DB"),
      inResults("PrefLevel", "PrefLevel.DB"),
      byResult(inResults("Grouping", "Grouping.DB"), "dsIsoResults"),
      scratch("TempDataMap", kWorking, "ABTempM.DB"),
      scratch("TempDataDI", kWorking, "ABTemp2.DB"),
      scratch("TempDataI", kWorking, "ABTemp3.DB"),
      inResults("Boundary", "AreaBound.DB", {{"Longitude", "###0.00000"}, {"Latitude", "###0.00000"}}),
      inResults("GroupLst", "GroupingList.DB"),
      scratch("UserCheck", kUser, "ABTemp0.DB"),
      groupingFree,
      scratch("TempDT", kWorking, "ABTemp4.DB"),
      inResults("BlockingT", "BlockingT.db", {{"BlockingT", "###0.0"}, {"BlockingTUncertainty", "###0.0"}}),
      scratch("ImportDet", kWorking, "ABImpDet.DB"),
      inResults("Approach", "Approach.DB"),
      inResults("Material", "Material.DB"),
      inResults("Method", "Method.DB"),
      inResults("SourceType", "SourceType.DB"),
      inResults("Source", "Source.DB"),
      inResults("SourceList", "SourceList.DB"),
      // No parameters: every result, run again whenever IsoResults moves.
      QueryDeclaration{.name = "Querydm", .database = kResults, .sql = {"select * from isorgr20"},
                       .dataSource = "dsIsoResults", .fields = queryResultFields()},
      querySamples,
      inResults("MaxRecord", "MaxRecord.db"),
      byResult(inResults("QdmGrouping", "Grouping.DB"), "dsQuerydm"),
      scratch("TempDataDG", kWorking, "ABTemp2g.DB"),
  };
}

ModuleDeclaration declaration(const engine::Session& session) {
  DatabaseDeclaration user = connection(session, "DBUser", kUser);
  user.params = connectionParams(session, kWorking);  // ABtmp0 shares the working directory
  return {.databases = {connection(session, "DB1", kResults), connection(session, "DBtmp", kWorking), user},
          .datasets = datasetDeclarations()};
}

std::string todayIso() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[11];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

}  // namespace

std::int32_t ageInThousandths(double age) {
  // The product is the correctly rounded double of the decimal thousandths, so a halfway decimal
  // such as 0.0625 lands exactly on .5 and rounding to nearest sends it to the even neighbour.
  const int previousMode = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double rounded = std::nearbyint(age * 1000.0);
  std::fesetround(previousMode);
  constexpr double lowest = std::numeric_limits<std::int32_t>::min();
  constexpr double highest = std::numeric_limits<std::int32_t>::max();
  if (!(rounded >= lowest && rounded <= highest)) throw std::range_error("Range check error");
  return static_cast<std::int32_t>(rounded);
}

TdmABResults::TdmABResults(engine::Session& session) : DataModule(session, declaration(session)) {
  IsoResults.onNewRecord = [this](engine::Dataset& dataset) { IsoResultsNewRecord(dataset); };
  IsoResults.onBeforePost = [this](engine::Dataset& dataset) { IsoResultsBeforePost(dataset); };
  installPostErrorHandlers();
}

const std::vector<TdmABResults::PostErrorHandler>& TdmABResults::postErrorHandlers() {
  using enum RuleKind;
  static const std::vector<PostErrorHandler> handlers{
      {"IsoResultsPostError", Result, {"IsoResults"}},
      {"SmpRegPostError", Sample, {"SmpReg", "QdmSmp"}},
      {"GroupingPostError", Standard, {"Grouping"}},
      {"GroupLstPostError", Standard, {"GroupLst"}},
      {"SourcePostError", Standard, {"Source"}},
      {"SourceListPostError", Standard, {"SourceList"}},
      {"CountryListPostError", Standard, {"CountryList"}},
      {"SuiteListPostError", Standard, {"SuiteList"}},
      {"LithologyPostError", Standard, {"Lithology"}},
      {"InterpretationPostError", Standard, {"Interpretation"}},
      {"TechniquePostError", Standard, {"Technique"}},
      {"ApproachPostError", Standard, {"Approach"}},
      {"MaterialPostError", Standard, {"Material"}},
      {"TempDataMapPostError", Standard, {"TempDataMap"}},
      {"TempDataDIPostError", Standard, {"TempDataDI"}},
      {"TempDataDGPostError", Standard, {"TempDataDG"}},
      {"TempDataIPostError", Standard, {"TempDataI"}},
  };
  return handlers;
}

const PostErrorRule& TdmABResults::postErrorRule(RuleKind kind) {
  using enum PostErrorReaction;
  namespace code = engine::code;
  static const PostErrorRule standard{{code::Integrity, {Warn, "Error in integrity"}},
                                      {code::KeyViolation, {Discard, ""}},
                                      {code::RequiredField, {Warn, "Required field missing"}},
                                      {code::MasterMissing, {Warn, "Foreign key"}},
                                      {code::DetailsExist, {Warn, "Details exist"}}};
  static const PostErrorRule result = [] {
    PostErrorRule rule = standard;
    rule.emplace(code::LookupValue, PostErrorResponse{Warn, "Field value out of lookup table range"});
    return rule;
  }();
  static const PostErrorRule sample{{code::KeyViolation, {WarnAndDiscard, "Unable to insert data record for "}},
                                    {code::RequiredField, {Warn, "Please provide an Employee ID"}}};
  switch (kind) {
    case RuleKind::Result:
      return result;
    case RuleKind::Sample:
      return sample;
    case RuleKind::Standard:
      break;
  }
  return standard;
}

void TdmABResults::IsoResultsNewRecord(engine::Dataset& dataset) {
  dataset.fieldByName("DateString").setValue(todayIso());
}

void TdmABResults::IsoResultsBeforePost(engine::Dataset& dataset) {
  const std::int32_t thousandths = ageInThousandths(dataset.fieldByName("Age").asFloat());
  dataset.fieldByName("IAge").setAsInteger(thousandths);
}

void TdmABResults::installPostErrorHandlers() {
  for (const PostErrorHandler& handler : postErrorHandlers()) {
    for (std::string_view name : handler.datasets) {
      dataset(name).onPostError = [this, kind = handler.rule](engine::Dataset& failed, const std::exception& error,
                                                              engine::PostErrorAction&) {
        applyPostErrorRule(postErrorRule(kind), showWarning, failed, error);
      };
    }
  }
}

}  // namespace data
