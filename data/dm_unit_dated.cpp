#include "data/dm_unit_dated.h"

#include "data/lexicon_schema.h"
#include "data/results_schema.h"
#include "data/schema_fields.h"
#include "db_engine/errors.h"

namespace data {

namespace {

constexpr const char* kUnits = "DBunits";
constexpr const char* kResults = "DBambrell";

const PostErrorRule& unitRule() {
  using enum PostErrorReaction;
  static const PostErrorRule rule{{engine::code::Integrity, {Warn, "Error in integrity"}},
          {engine::code::KeyViolation, {Warn, "Key violation in VORLList"}},
          {engine::code::RequiredField, {Warn, "Required field missing"}},
          {engine::code::MasterMissing, {Warn, "Foreign key"}},
          {engine::code::DetailsExist, {Warn, "Details exist"}}};
  return rule;
}

ModuleDeclaration declaration() {
  const engine::TableSchema& results = tableOf(resultsSchema(), "IsoRgr20.DB");
  return {
      .databases = {{.object = "DBu", .alias = "VORL", .databaseName = kUnits},
                    {.object = "Database2", .alias = "ABResults", .databaseName = kResults}},
      .datasets =
          {
              TableDeclaration{.name = "VORLList", .database = kUnits, .table = "VORLLIST.DB",
                               .fields = allFields(tableOf(lexiconSchema(), "VORLLIST.DB"))},
              TableDeclaration{.name = "Suite", .database = kResults, .table = "Suite.DB", .index = "GISCode",
                               .master = "dsVORLList", .masterFields = "Code",
                               .fields = firstFields(tableOf(resultsSchema(), "Suite.DB"), 4)},
              TableDeclaration{
                  .name = "IsoResults", .database = kResults, .table = "IsoRgr20.DB",
                  .indexFields = "CountryAbr;UnitName", .master = "dsSuite", .masterFields = "CountryAbr;UnitName",
                  .fields = pickFields(results, {"CountryAbr", "UnitName", "MaterialAbr", "IsotopeSystem",
                                                 "ApproachAbr", "TechAbr", "InterpAbr", "PrefLevel", "IAge", "Age",
                                                 "AgePError", "AgeMError", "Lithology", "MethodAbr",
                                                 "RegressionNumber"})},
              TableDeclaration{.name = "Interpretation", .database = kResults, .table = "Interpretation.db",
                               .indexFields = "InterpAbr", .master = "dsIsoResults", .masterFields = "InterpAbr",
                               .fields = allFields(tableOf(resultsSchema(), "Interpretation.db"))},
              TableDeclaration{.name = "AcpInterp", .database = kUnits, .table = "AcpInterp.db",
                               .fields = allFields(tableOf(lexiconSchema(), "AcpInterp.db"))},
          },
  };
}

}  // namespace

TdmUnitDated::TdmUnitDated(engine::Session& session) : DataModule(session, declaration()) {
  VORLList.onPostError = [this](engine::Dataset& dataset, const std::exception& error,
                                engine::PostErrorAction& action) { VORLListPostError(dataset, error, action); };
}

void TdmUnitDated::VORLListPostError(engine::Dataset& dataset, const std::exception& error,
                                     engine::PostErrorAction&) {
  applyPostErrorRule(unitRule(), showWarning, dataset, error);
}

}  // namespace data
