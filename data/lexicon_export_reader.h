#pragma once
// The units an export writes, read from the lexicon in a handful of bulk queries: every field of
// the unit record with its country's name, its parent, its path from the top of the hierarchy, its
// areas, synonyms and correlatives.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "db_engine/schema.h"
#include "db_engine/value.h"

namespace engine {
class Database;
}

namespace data {

// Which units an export takes.
struct ExportChoice {
  std::optional<std::string> countryId;  // none: every country
  bool includeWithdrawn = false;         // units whose Years is at or above the browsing bound
};

struct UnitReference {
  std::int64_t code = 0;
  std::optional<std::string> name;  // none when the code names no unit
};

struct ExportedArea {
  std::string areaId;
  std::optional<std::string> areaName;  // none when the area is not in the area list
};

struct ExportedSynonym {
  std::string name;
  std::optional<std::string> rank;
};

struct ExportedCorrelative {
  UnitReference unit;
  std::optional<std::string> rank;
  std::optional<std::string> countryId;
  std::optional<std::string> countryName;
};

struct ExportedUnit {
  engine::Row fields;  // the unit record, in table order
  std::optional<std::string> countryName;
  std::optional<UnitReference> parent;  // none when LParent names no unit
  std::vector<UnitReference> path;      // from the top of the hierarchy down to the unit itself
  std::vector<ExportedArea> areas;
  std::vector<ExportedSynonym> synonyms;    // names the unit was known by
  std::vector<UnitReference> synonymUnits;  // units paired with it as synonyms
  std::vector<ExportedCorrelative> correlatives;
};

struct ExportedLexicon {
  std::vector<engine::FieldDef> fields;  // of the unit record
  std::vector<ExportedUnit> units;       // in the order of CountryIndex
};

// Reads the chosen units in one consistent view of the database (connected when needed).
ExportedLexicon readExportedUnits(engine::Database& lexicon, const ExportChoice& choice);

}  // namespace data
