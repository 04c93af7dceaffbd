#include "data/lexicon_schema.h"

#include "data/schema_fields.h"

// Keys and rules of the lexicon:
// - VORLLIST: no primary key (rows in insertion order); the unique index UQCode makes Code the key.
//   Code and Name are required. CountryID must name a country (deleting a country with units is
//   refused). Rank and Status must be known codes when given. Years is never negative, and
//   AgeMinimum may not exceed AgeMaximum. LParent and CParent carry no rule: 0 and codes that name
//   no unit are stored as given.
// - Lookup tables are keyed by their code. Occurrences, synonym names and correlatives must belong
//   to an existing unit, and an occurrence to an existing area; the correlative and synonym codes
//   themselves may name no unit.
namespace data {

namespace {

engine::TableSchema unitTable() {
  return {
      "VORLLIST.DB",
      {floatField("Years"), required(integerField("Code")), required(stringField("Name", 50)),
       stringField("Rank", 15), integerField("LParent"), integerField("CParent"), stringField("Status", 2),
       stringField("MapLabel", 10), stringField("IsHighestLevel", 1), formattedMemoField("Description", 20),
       memoField("Comments", 50), floatField("AgeMinimum"), floatField("AgeMaximum"), stringField("AgeUnits", 2),
       dateField("DateModified"), stringField("CountryID", 2), booleanField("Dated"),
       stringField("Interpretation", 30)},
      {},
      // Years trails the browsing indexes so the views' bound is checked without reading the rows;
      // Code is unique, so it never changes the order.
      {{"CountryIndex", {"CountryID", "Name", "Code", "Years"}},
       {"LParentIndex", {"LParent", "Name", "Code", "Years"}},
       {"UQCode", {"Code"}, true}},
      {engine::ReferenceRule{{"CountryID"}, "CountryList.db", {"CountryID"}},
       engine::LookupRule{"Rank", "Rank.DB", "RankAbr"},
       engine::LookupRule{"Status", "VORLSTAT.DB", "Code"},
       engine::RangeRule{"Years", 0.0, std::nullopt},
       engine::CheckRule{"AgeMinimumNotAboveMaximum", "AgeMinimum <= AgeMaximum"}},
  };
}

engine::TableSchema keyed(std::string name, std::vector<engine::FieldDef> fields, std::vector<std::string> key,
                          std::vector<engine::IntegrityRule> rules = {}) {
  return {std::move(name), std::move(fields), std::move(key), {}, std::move(rules)};
}

engine::ReferenceRule belongsToUnit() { return {{"Code"}, "VORLLIST.DB", {"Code"}}; }

engine::DatabaseSchema makeSchema() {
  return {
      "VORL",
      {
          keyed("CountryList.db", {required(stringField("CountryID", 2)), stringField("CountryName", 50)},
                {"CountryID"}),
          keyed("VORLSTAT.DB", {stringField("Status", 25), required(stringField("Code", 2))}, {"Code"}),
          keyed("CHRONO.DB",
                {required(integerField("CODE")), stringField("UNIT", 30), stringField("RANK", 10),
                 integerField("PARENT"), integerField("CPARENT")},
                {"CODE"}),
          keyed("Rank.DB", {required(stringField("RankAbr", 15)), stringField("Rank", 15)}, {"RankAbr"}),
          keyed("VORLWhen.db", {stringField("Comment", 50)}, {}),
          keyed("AreaList.db", {required(stringField("AreaID", 20)), stringField("AreaName", 150)}, {"AreaID"}),
          unitTable(),  // after the tables its rules name
          keyed("CodeArea.DB", {required(integerField("Code")), required(stringField("Area", 20))}, {"Code", "Area"},
                {belongsToUnit(), engine::ReferenceRule{{"Area"}, "AreaList.db", {"AreaID"}}}),
          keyed("SynonList.DB",
                {required(stringField("SynonymName", 50)), stringField("SynonymRank", 20),
                 required(integerField("Code"))},
                {"Code", "SynonymName"}, {belongsToUnit()}),
          keyed("Synonyms.db", {required(integerField("Code")), required(integerField("Synonym"))},
                {"Code", "Synonym"}),
          keyed("Correlatives.db", {required(integerField("Code")), required(integerField("Correlative"))},
                {"Code", "Correlative"}, {belongsToUnit()}),
          keyed("AcpInterp.db", {required(stringField("InterpAbr", 5)), stringField("Interpretation", 30)},
                {"InterpAbr"}),
      },
  };
}

}  // namespace

const engine::DatabaseSchema& lexiconSchema() {
  static const engine::DatabaseSchema schema = makeSchema();
  return schema;
}

}  // namespace data
