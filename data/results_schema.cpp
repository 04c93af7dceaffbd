#include "data/results_schema.h"

#include "data/schema_fields.h"

// Keys and rules of the results database:
// - IsoRgr20: RegressionNumber is the primary key; UnitName is required; the catalogue codes
//   (country, material, isotope system, approach, technique, interpretation, method) must be known
//   when given; the two age errors are never negative.
// - Samples, groupings and sources belong to an existing result (a result that still has them
//   cannot be deleted or renumbered); a sample needs its SampleNo.
// - Catalogues are keyed by their code, which is required.
// The working tables carry no keys: they hold scratch rows.
namespace data {

namespace {

using engine::FieldDef;
using engine::IndexDef;
using engine::IntegrityRule;
using engine::LookupRule;
using engine::ReferenceRule;
using engine::TableSchema;

std::vector<FieldDef> resultFields() {
  return {stringField("CountryAbr", 3), required(stringField("UnitName", 50)), stringField("MaterialAbr", 5),
          stringField("IsotopeSystem", 15), stringField("ApproachAbr", 5), stringField("TechAbr", 5),
          stringField("InterpAbr", 5), smallIntField("PrefLevel"), integerField("IAge"),
          required(integerField("RegressionNumber")), floatField("Age"), floatField("AgePError"),
          floatField("AgeMError"), stringField("MethodAbr", 1), dateField("DateString"),
          stringField("Lithology", 50), floatField("MSWD"), floatField("NReg"), integerField("NSamples"),
          floatField("Alpha"), integerField("NReplicates"), integerField("DegFreedom"), floatField("FCutoff"),
          floatField("ProbOfFit"), floatField("LwrIntercept"), floatField("LwrPError"), floatField("LwrMError"),
          stringField("Weighting", 40), floatField("Ludwigp"), floatField("XCentroid"), floatField("YCentroid"),
          stringField("Constraints", 20), floatField("XConstrain"), floatField("YConstrain"),
          floatField("AgeConstrain"), floatField("InitRatio"), floatField("InitRatioError"), floatField("Epsilon"),
          floatField("EpsilonError"), floatField("Mu"), floatField("MuPError"), floatField("MuMError"),
          stringField("MuModel", 20), stringField("Augmentation", 50), floatField("DecayConst1"),
          floatField("DecayConst2"), floatField("SigmaPercentDC1"), floatField("SigmaPercentDC2"),
          memoField("Comment", 50), stringField("ProgName", 10), stringField("RegisteredUser", 30),
          integerField("PolygonNo"), integerField("Confidential"), stringField("ExtraS6", 20),
          floatField("InitRatio3D"), floatField("InitRatio3DError"), floatField("ZCentroid"),
          floatField("ZConstrain"), floatField("ExtraN3"), floatField("ExtraN4"), floatField("ExtraN5"),
          stringField("ExtraS1", 5), stringField("ExtraS2", 10), stringField("ExtraS3", 10),
          stringField("ExtraS4", 20), stringField("ExtraS5", 20)};
}

TableSchema resultTable() {
  return {"IsoRgr20.DB",
          resultFields(),
          {"RegressionNumber"},
          // UnitName alone: the Geochronology tab joins results to suites by name, at every move of the unit.
          {{"CountryUnit", {"CountryAbr", "UnitName"}}, {"UnitName", {"UnitName"}}},
          {LookupRule{"CountryAbr", "Country.db", "CountryAbr"}, LookupRule{"MaterialAbr", "Material.DB", "MaterialAbr"},
           LookupRule{"IsotopeSystem", "IsoSystem.DB", "IsoSystem"},
           LookupRule{"ApproachAbr", "Approach.DB", "ApproachAbr"}, LookupRule{"TechAbr", "Technique.DB", "TechAbr"},
           LookupRule{"InterpAbr", "Interpretation.db", "InterpAbr"}, LookupRule{"MethodAbr", "Method.DB", "MethodAbr"},
           engine::CheckRule{"AgeErrorsNotNegative", "AgePError >= 0 AND AgeMError >= 0"}}};
}

ReferenceRule belongsToResult() { return {{"RegressionNumber"}, "IsoRgr20.DB", {"RegressionNumber"}}; }
IndexDef byResult() { return {"RegNo", {"RegressionNumber"}}; }

TableSchema detailTable(std::string name, std::vector<FieldDef> fields, std::vector<std::string> key,
                        std::vector<IntegrityRule> rules) {
  rules.insert(rules.begin(), belongsToResult());
  return {std::move(name), std::move(fields), std::move(key), {byResult()}, std::move(rules)};
}

TableSchema catalogue(std::string name, std::vector<FieldDef> fields, std::vector<std::string> key,
                      std::vector<IndexDef> indexes = {}, std::vector<IntegrityRule> rules = {}) {
  return {std::move(name), std::move(fields), std::move(key), std::move(indexes), std::move(rules)};
}

std::vector<TableSchema> detailTables() {
  return {
      detailTable("SmpReg.DB",
                  {required(integerField("RegressionNumber")), required(stringField("SampleNo", 15)),
                   stringField("Included", 1), floatField("Latitude"), floatField("Longitude"),
                   floatField("Elevation"), floatField("LatitudePrecision"), floatField("LongitudePrecision"),
                   floatField("ElevationPrecision")},
                  {"RegressionNumber", "SampleNo"}, {}),
      detailTable("Grouping.DB", {required(integerField("RegressionNumber")), required(stringField("Grouping", 20))},
                  {"RegressionNumber", "Grouping"}, {}),
      detailTable("Source.DB",
                  {required(integerField("RegressionNumber")), required(stringField("SourceType", 1)),
                   required(integerField("SourceAbr"))},
                  {"RegressionNumber", "SourceType", "SourceAbr"},
                  {LookupRule{"SourceType", "SourceType.DB", "SourceTypeAbr"},
                   LookupRule{"SourceAbr", "SourceList.DB", "SourceAbr"}}),
  };
}

std::vector<TableSchema> catalogueTables() {
  return {
      catalogue("Country.db",
                {required(stringField("CountryAbr", 3)), stringField("Country", 30), floatField("CountryOffset"),
                 floatField("CountryOffset2"), floatField("CountryOffset3")},
                {"CountryAbr"}),
      catalogue("Suite.DB",
                {required(stringField("UnitName", 50)), stringField("UnitRank", 5),
                 required(stringField("CountryAbr", 3)), integerField("GISID"), floatField("FormationOffset"),
                 floatField("FormationOffset2"), floatField("FormationOffset3")},
                {"CountryAbr", "UnitName"}, {{"Country", {"CountryAbr"}}, {"GISCode", {"GISID"}}},
                {LookupRule{"CountryAbr", "Country.db", "CountryAbr"}}),
      catalogue("IsoSystem.DB",
                {required(stringField("IsoSystem", 15)), stringField("IsoSystemName", 30), integerField("IsoSysNo"),
                 floatField("DecayConst1"), floatField("DecayConst2")},
                {"IsoSystem"}),
      catalogue("Material.DB", {required(stringField("MaterialAbr", 5)), stringField("MaterialDescription", 50)},
                {"MaterialAbr"}),
      catalogue("Approach.DB", {required(stringField("ApproachAbr", 5)), stringField("ApproachDescription", 50)},
                {"ApproachAbr"}),
      catalogue("Technique.DB", {required(stringField("TechAbr", 5)), stringField("Technique", 40)}, {"TechAbr"}),
      catalogue("Interpretation.db", {required(stringField("InterpAbr", 5)), stringField("Interpretation", 30)},
                {"InterpAbr"}, {{"InterpIndex", {"InterpAbr"}}}),
      catalogue("Lithol.DB", {required(stringField("Lithology", 50))}, {"Lithology"}),
      catalogue("Method.DB", {required(stringField("MethodAbr", 1)), stringField("Method", 20)}, {"MethodAbr"}),
      catalogue("PrefLevel.DB", {required(smallIntField("PrefLevelNo")), memoField("PrefDes", 100)},
                {"PrefLevelNo"}),
      catalogue("SourceType.DB", {required(stringField("SourceTypeAbr", 1)), stringField("SourceType", 10)},
                {"SourceTypeAbr"}),
      catalogue("SourceList.DB", {required(integerField("SourceAbr")), stringField("SourceText", 100)},
                {"SourceAbr"}),
      catalogue("GroupingList.DB", {required(stringField("Grouping", 20))}, {"Grouping"}),
      catalogue("BlockingT.db",
                {required(stringField("MaterialAbr", 5)), required(stringField("IsoSystem", 15)),
                 required(stringField("ApproachAbr", 5)), floatField("BlockingT"),
                 floatField("BlockingTUncertainty")},
                {"MaterialAbr", "IsoSystem", "ApproachAbr"}),
      catalogue("AreaBound.DB",
                {required(stringField("CountryAbr", 3)), required(smallIntField("BoundarySequence")),
                 floatField("Longitude"), floatField("Latitude")},
                {"CountryAbr", "BoundarySequence"}),
      catalogue("MaxRecord.db", {integerField("MaxRecordNo")}, {}),
  };
}

engine::DatabaseSchema makeResultsSchema() {
  // Tables come before the rules that name them.
  engine::DatabaseSchema schema{"ABResults", catalogueTables()};
  schema.tables.push_back(resultTable());
  for (TableSchema& table : detailTables()) schema.tables.push_back(std::move(table));
  return schema;
}

TableSchema scratch(std::string name, std::vector<FieldDef> fields) {
  return {std::move(name), std::move(fields), {}, {}, {}};
}

engine::DatabaseSchema makeWorkingSchema() {
  return {"ABtmp",
          {
              scratch("ABTempM.DB",
                      {stringField("Interpretation", 20), stringField("AgeBand", 20), stringField("InterpAbr", 5),
                       smallIntField("ColumnNo"), stringField("SampleNo", 15), floatField("Age"),
                       floatField("AgePlus"), floatField("AgeMinus"), floatField("Latitude"),
                       floatField("Longitude"), floatField("Elevation")}),
              scratch("ABTemp2.DB",
                      {stringField("Interpretation", 20), floatField("Age"), stringField("SuitName", 50),
                       stringField("InterpAbr", 5), stringField("Grouping", 20), smallIntField("ColumnNo"),
                       floatField("AgeErrorAv"), floatField("AgePlusError"), floatField("AgeMinusError")}),
              scratch("ABTemp2g.DB",
                      {stringField("Grouping", 20), floatField("Age"), stringField("SuitName", 50),
                       stringField("InterpAbr", 5), stringField("Interpretation", 20), smallIntField("ColumnNo"),
                       floatField("AgeErrorAv"), floatField("AgePlusError"), floatField("AgeMinusError")}),
              scratch("ABTemp3.DB",
                      {stringField("Interpretation", 20), smallIntField("PlotNo"), smallIntField("ColumnNo"),
                       floatField("VariableX"), floatField("VariableY"), stringField("Grouping", 20)}),
              scratch("ABTemp4.DB",
                      {stringField("Grouping", 20), stringField("SuitName", 50), smallIntField("ColumnNo"),
                       floatField("Age"), floatField("AgePlusError"), floatField("AgeMinusError"),
                       stringField("IsoSystem", 15), stringField("MaterialAbr", 5), stringField("ApproachAbr", 5),
                       floatField("BlockingT"), floatField("BlockingTUncertainty")}),
              scratch("ABImpDet.DB",
                      {stringField("FieldName", 60), stringField("FieldDescription", 100), stringField("TN", 2),
                       stringField("ColumnLet", 4), smallIntField("ColumnNo")}),
              scratch("ABTemp0.DB",
                      {stringField("Topic", 10), stringField("UserOrganisation", 20), stringField("UserName", 30),
                       smallIntField("UserLevel")}),
          }};
}

}  // namespace

const engine::DatabaseSchema& resultsSchema() {
  static const engine::DatabaseSchema schema = makeResultsSchema();
  return schema;
}

const engine::DatabaseSchema& workingSchema() {
  static const engine::DatabaseSchema schema = makeWorkingSchema();
  return schema;
}

}  // namespace data
