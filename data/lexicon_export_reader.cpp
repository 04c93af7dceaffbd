#include "data/lexicon_export_reader.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "data/lexicon_schema.h"
#include "data/schema_fields.h"
#include "db_engine/database.h"
#include "db_engine/sqlite_statement.h"
#include "db_engine/transaction.h"
#include "db_engine/value_text.h"

namespace data {
namespace {

// The browsing views' bound: a unit at or above it is withdrawn.
constexpr const char* kWithdrawnCondition = "(Years IS NULL OR Years < 4600000000)";

std::optional<std::string> textOf(const engine::Value& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* integer = std::get_if<std::int64_t>(&value)) return std::to_string(*integer);
  if (const auto* number = std::get_if<double>(&value)) return engine::shortestNumber(*number);
  return std::nullopt;
}

std::optional<std::int64_t> integerOf(const engine::Value& value) {
  if (const auto* integer = std::get_if<std::int64_t>(&value)) return *integer;
  if (const auto* number = std::get_if<double>(&value)) return engine::roundedInteger(*number);
  if (const auto* text = std::get_if<std::string>(&value)) return engine::parseInteger(*text);
  return std::nullopt;
}

std::size_t positionOf(const std::vector<engine::FieldDef>& fields, std::string_view name) {
  const auto found = std::find_if(fields.begin(), fields.end(), [&](const auto& field) { return field.name == name; });
  return static_cast<std::size_t>(found - fields.begin());
}

template <typename Each>
void forEachRow(engine::Database& lexicon, const std::string& sql, const std::vector<engine::Value>& values,
                const std::string& table, Each each) {
  engine::Statement statement(lexicon.handle(), sql, table);
  engine::ResetOnExit reset(statement);
  for (std::size_t index = 0; index < values.size(); ++index) statement.bind(static_cast<int>(index) + 1, values[index]);
  while (statement.step()) each(statement);
}

// Details of units by the unit's code, moved into the units as they are exported.
template <typename Detail>
using DetailsByCode = std::unordered_map<std::int64_t, std::vector<Detail>>;

template <typename Detail>
std::vector<Detail> take(DetailsByCode<Detail>& details, std::int64_t code) {
  const auto found = details.find(code);
  return found == details.end() ? std::vector<Detail>{} : std::move(found->second);
}

struct HierarchyNode {
  std::string name;
  std::int64_t parent = 0;  // 0: none
};

// The chosen units in the order of CountryIndex; the country, when chosen, is its one parameter.
std::string unitSql(const std::vector<engine::FieldDef>& fields, const ExportChoice& choice) {
  std::string sql = "SELECT ";
  for (const engine::FieldDef& field : fields) {
    sql += (&field == &fields.front() ? "" : ", ") + engine::quoteIdentifier(field.name);
  }
  sql += " FROM VORLLIST WHERE 1";
  if (choice.countryId) sql += " AND CountryID = ?";
  if (!choice.includeWithdrawn) sql += std::string(" AND ") + kWithdrawnCondition;
  return sql + " ORDER BY CountryID, Name, Code";
}

class UnitReader {
 public:
  explicit UnitReader(engine::Database& lexicon) : lexicon_(lexicon) {}

  ExportedLexicon read(const ExportChoice& choice) {
    readCountries();
    readHierarchy();
    readAreas();
    readSynonyms();
    readCorrelatives();
    ExportedLexicon result{allFields(tableOf(lexiconSchema(), "VORLLIST.DB")), {}};
    positions_ = {positionOf(result.fields, "Code"), positionOf(result.fields, "LParent"),
                  positionOf(result.fields, "CountryID")};
    std::vector<engine::Value> values;
    if (choice.countryId) values.emplace_back(*choice.countryId);
    forEachRow(lexicon_, unitSql(result.fields, choice), values, "VORLLIST", [&](const engine::Statement& row) {
      result.units.push_back(unitOf(row, static_cast<int>(result.fields.size())));
    });
    return result;
  }

 private:
  ExportedUnit unitOf(const engine::Statement& row, int fieldCount) {
    ExportedUnit unit;
    unit.fields.reserve(static_cast<std::size_t>(fieldCount));
    for (int column = 0; column < fieldCount; ++column) unit.fields.push_back(row.column(column));
    const std::int64_t code = integerOf(unit.fields[positions_.code]).value_or(0);
    if (const auto country = textOf(unit.fields[positions_.country])) {
      const auto found = countries_.find(*country);
      if (found != countries_.end()) unit.countryName = found->second;
    }
    const auto parent = hierarchy_.find(integerOf(unit.fields[positions_.parent]).value_or(0));
    if (parent != hierarchy_.end() && parent->first != 0) unit.parent = UnitReference{parent->first, parent->second.name};
    unit.path = pathOf(code);
    unit.areas = take(areas_, code);
    unit.synonyms = take(synonyms_, code);
    unit.synonymUnits = take(synonymUnits_, code);
    unit.correlatives = take(correlatives_, code);
    return unit;
  }

  // Up the parents as far as they go; a unit that is its own ancestor ends the walk.
  std::vector<UnitReference> pathOf(std::int64_t code) const {
    std::vector<UnitReference> path;
    for (auto at = hierarchy_.find(code); at != hierarchy_.end(); at = hierarchy_.find(at->second.parent)) {
      const auto seen = [&](const UnitReference& step) { return step.code == at->first; };
      if (std::any_of(path.begin(), path.end(), seen)) break;
      path.push_back({at->first, at->second.name});
      if (at->second.parent == 0) break;
    }
    std::reverse(path.begin(), path.end());
    return path;
  }

  std::optional<std::string> unitName(std::int64_t code) const {
    const auto found = hierarchy_.find(code);
    return found == hierarchy_.end() ? std::nullopt : std::optional(found->second.name);
  }

  void readCountries() {
    forEachRow(lexicon_, "SELECT CountryID, CountryName FROM CountryList", {}, "CountryList",
               [&](const engine::Statement& row) {
                 countries_[textOf(row.column(0)).value_or("")] = textOf(row.column(1)).value_or("");
               });
  }

  void readHierarchy() {
    forEachRow(lexicon_, "SELECT Code, Name, LParent FROM VORLLIST", {}, "VORLLIST", [&](const engine::Statement& row) {
      if (const auto code = integerOf(row.column(0))) {
        hierarchy_[*code] = {textOf(row.column(1)).value_or(""), integerOf(row.column(2)).value_or(0)};
      }
    });
  }

  void readAreas() {
    forEachRow(lexicon_,
               "SELECT c.Code, c.Area, a.AreaName FROM CodeArea c LEFT JOIN AreaList a ON a.AreaID = c.Area "
               "ORDER BY c.Code, c.Area",
               {}, "CodeArea", [&](const engine::Statement& row) {
                 areas_[integerOf(row.column(0)).value_or(0)].push_back(
                     {textOf(row.column(1)).value_or(""), textOf(row.column(2))});
               });
  }

  void readSynonyms() {
    forEachRow(lexicon_, "SELECT Code, SynonymName, SynonymRank FROM SynonList ORDER BY Code, SynonymName", {},
               "SynonList", [&](const engine::Statement& row) {
                 synonyms_[integerOf(row.column(0)).value_or(0)].push_back(
                     {textOf(row.column(1)).value_or(""), textOf(row.column(2))});
               });
    forEachRow(lexicon_, "SELECT Code, Synonym FROM Synonyms ORDER BY Code, Synonym", {}, "Synonyms",
               [&](const engine::Statement& row) {
                 const std::int64_t synonym = integerOf(row.column(1)).value_or(0);
                 synonymUnits_[integerOf(row.column(0)).value_or(0)].push_back({synonym, unitName(synonym)});
               });
  }

  void readCorrelatives() {
    forEachRow(lexicon_,
               "SELECT r.Code, r.Correlative, u.Rank, u.CountryID, k.CountryName FROM Correlatives r "
               "LEFT JOIN VORLLIST u ON u.Code = r.Correlative LEFT JOIN CountryList k ON k.CountryID = u.CountryID "
               "ORDER BY r.Code, r.Correlative",
               {}, "Correlatives", [&](const engine::Statement& row) {
                 const std::int64_t correlative = integerOf(row.column(1)).value_or(0);
                 correlatives_[integerOf(row.column(0)).value_or(0)].push_back(
                     {{correlative, unitName(correlative)}, textOf(row.column(2)), textOf(row.column(3)),
                      textOf(row.column(4))});
               });
  }

  struct Positions {
    std::size_t code, parent, country;
  };

  engine::Database& lexicon_;
  Positions positions_{};
  std::unordered_map<std::string, std::string> countries_;
  std::unordered_map<std::int64_t, HierarchyNode> hierarchy_;
  DetailsByCode<ExportedArea> areas_;
  DetailsByCode<ExportedSynonym> synonyms_;
  DetailsByCode<UnitReference> synonymUnits_;
  DetailsByCode<ExportedCorrelative> correlatives_;
};

}  // namespace

ExportedLexicon readExportedUnits(engine::Database& lexicon, const ExportChoice& choice) {
  lexicon.open();
  // One view of the database for all the queries, unless the caller already holds one.
  std::optional<engine::Transaction> view;
  if (!lexicon.inTransaction()) view.emplace(lexicon, engine::Transaction::Kind::Read);
  return UnitReader(lexicon).read(choice);
}

}  // namespace data
