#include "data/synthetic_lexicon.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <random>
#include <set>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "data/lexicon_schema.h"
#include "data/results_schema.h"
#include "data/sample_database.h"
#include "db_engine/database.h"
#include "db_engine/session.h"
#include "db_engine/sqlite_statement.h"

namespace data {
namespace {

constexpr double kWithdrawnYears = 4600000000.0;

struct Country {
  std::string_view id;
  std::string_view name;
  int percent;  // share of the units
};
constexpr std::array<Country, 6> kCountries = {{{"ZA", "South Africa", 60},
                                                {"NA", "Namibia", 12},
                                                {"BW", "Botswana", 10},
                                                {"ZW", "Zimbabwe", 8},
                                                {"LS", "Lesotho", 5},
                                                {"MZ", "Mozambique", 5}}};

// Levels of the hierarchy, top first, with their share of a country's units.
struct Level {
  std::string_view rank;
  std::string_view rankName;
  int percent;
};
constexpr std::array<Level, 6> kLevels = {{{"SupGp", "Supergroup", 1},
                                           {"Gp", "Group", 4},
                                           {"SGp", "Subgroup", 10},
                                           {"Fm", "Formation", 25},
                                           {"Mbr", "Member", 35},
                                           {"Bed", "Bed", 25}}};

constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kStatuses = {
    {{"F", "Formal"}, {"I", "Informal"}, {"O", "Obsolete"}, {"P", "Proposed"}}};

// A qualifier, two syllables and the rank: "Groot Klipfontein Formation".
constexpr std::array<std::string_view, 12> kQualifiers = {"", "", "", "", "Groot ", "Klein ", "Nuwe ", "Ou ",
                                                           "Boven ", "Onder ", "Noord ", "Suid "};
constexpr std::array<std::string_view, 24> kFirstSyllables = {
    "Klip", "Wit",   "Swart", "Rooi",  "Groot", "Klein", "Mooi",  "Hoog", "Bok",  "Leeu", "Olifants", "Vaal",
    "Kaap", "Bloem", "Doorn", "Elands", "Gras", "Koe",   "Modder", "Sout", "Steen", "Tier", "Vis",      "Wolwe"};
constexpr std::array<std::string_view, 16> kSecondSyllables = {"fontein", "berg",  "kloof", "poort", "vlei",  "drif",
                                                               "hoek",    "kop",   "rivier", "dal",  "rand",  "pan",
                                                               "bult",    "spruit", "nek",  "krans"};

struct ChronoUnit {
  int code;
  std::string_view unit;
  std::string_view rank;
  int parent;
  double youngest;  // Ma
  double oldest;
};
// Coarse to fine, so the last unit that holds an age range is the finest.
constexpr std::array<ChronoUnit, 28> kChrono = {{
    {1, "Phanerozoic", "Eon", 0, 0, 541},          {2, "Proterozoic", "Eon", 0, 541, 2500},
    {3, "Archaean", "Eon", 0, 2500, 4000},         {10, "Cenozoic", "Era", 1, 0, 66},
    {11, "Mesozoic", "Era", 1, 66, 252},           {12, "Palaeozoic", "Era", 1, 252, 541},
    {13, "Neoproterozoic", "Era", 2, 541, 1000},   {14, "Mesoproterozoic", "Era", 2, 1000, 1600},
    {15, "Palaeoproterozoic", "Era", 2, 1600, 2500}, {16, "Neoarchaean", "Era", 3, 2500, 2800},
    {17, "Mesoarchaean", "Era", 3, 2800, 3200},    {18, "Palaeoarchaean", "Era", 3, 3200, 3600},
    {20, "Quaternary", "Period", 10, 0, 2.58},     {21, "Neogene", "Period", 10, 2.58, 23},
    {22, "Palaeogene", "Period", 10, 23, 66},      {23, "Cretaceous", "Period", 11, 66, 145},
    {24, "Jurassic", "Period", 11, 145, 201},      {25, "Triassic", "Period", 11, 201, 252},
    {26, "Permian", "Period", 12, 252, 299},       {27, "Carboniferous", "Period", 12, 299, 359},
    {28, "Devonian", "Period", 12, 359, 419},      {29, "Silurian", "Period", 12, 419, 443},
    {30, "Ordovician", "Period", 12, 443, 485},    {31, "Cambrian", "Period", 12, 485, 541},
    {32, "Ediacaran", "Period", 13, 541, 635},     {33, "Cryogenian", "Period", 13, 635, 720},
    {34, "Tonian", "Period", 13, 720, 1000},       {40, "Hadean", "Eon", 0, 4000, 4600},
}};

constexpr std::array<std::string_view, 12> kAreas = {
    "Free State",     "Eastern Cape",     "Western Cape",    "Northern Cape", "KwaZulu-Natal",   "Gauteng",
    "North West",     "Mpumalanga",       "Limpopo",         "Karas Region",  "Ghanzi District", "Midlands Province"};

// Interpretations with their weight among the results; the first three are the accepted ones.
struct Interpretation {
  std::string_view abbreviation;
  std::string_view name;
  int weight;
};
constexpr std::array<Interpretation, 8> kInterpretations = {{{"Empl", "Emplacement", 30},
                                                             {"Extr", "Extrusion", 15},
                                                             {"Depos", "Deposition", 10},
                                                             {"Meta", "Metamorphism", 15},
                                                             {"Cool", "Cooling", 10},
                                                             {"Detr", "Detrital", 10},
                                                             {"Inher", "Inheritance", 5},
                                                             {"Mix", "Mixed age", 5}}};
constexpr std::size_t kAcceptedInterpretations = 3;

struct IsotopeSystem {
  std::string_view system;
  std::string_view name;
  std::string_view material;
  double decayConstant;
};
constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kMaterials = {
    {{"Zrn", "Zircon"}, {"WR", "Whole rock"}, {"Bt", "Biotite"}, {"Hbl", "Hornblende"}}};
constexpr std::array<IsotopeSystem, 6> kIsotopeSystems = {{{"U-Pb", "Uranium-lead", "Zrn", 1.55125e-10},
                                                           {"Pb-Pb", "Lead-lead", "Zrn", 9.8485e-10},
                                                           {"Rb-Sr", "Rubidium-strontium", "WR", 1.42e-11},
                                                           {"Sm-Nd", "Samarium-neodymium", "WR", 6.54e-12},
                                                           {"Ar-Ar", "Argon-argon", "Bt", 5.543e-10},
                                                           {"K-Ar", "Potassium-argon", "Hbl", 5.543e-10}}};

// A prepared INSERT that binds each row's values directly.
class Inserter {
 public:
  Inserter(engine::Database& database, std::string_view table, std::initializer_list<std::string_view> fields)
      : statement_(database.handle(), sql(table, fields), std::string(table)) {}

  template <typename... Values>
  void operator()(const Values&... values) {
    int index = 0;
    (bind(++index, values), ...);
    statement_.step();
    statement_.reset();
  }

 private:
  static std::string sql(std::string_view table, std::initializer_list<std::string_view> fields) {
    std::string names;
    std::string markers;
    for (std::string_view field : fields) {
      names += (names.empty() ? "" : ", ") + engine::quoteIdentifier(field);
      markers += markers.empty() ? "?" : ", ?";
    }
    return "INSERT INTO " + engine::quoteIdentifier(table) + " (" + names + ") VALUES (" + markers + ")";
  }

  template <typename Value>
  void bind(int index, const Value& value) {
    sqlite3_stmt* statement = statement_.get();
    if constexpr (std::is_same_v<Value, std::optional<std::string_view>>) {
      if (value) bind(index, *value);
      else sqlite3_bind_null(statement, index);
    } else if constexpr (std::is_integral_v<Value>) {
      sqlite3_bind_int64(statement, index, static_cast<sqlite3_int64>(value));
    } else if constexpr (std::is_floating_point_v<Value>) {
      sqlite3_bind_double(statement, index, value);
    } else {
      const std::string_view text(value);
      sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
    }
  }

  engine::Statement statement_;
};

class Random {
 public:
  explicit Random(std::uint32_t seed) : engine_(seed) {}
  std::size_t below(std::size_t count) { return std::uniform_int_distribution<std::size_t>(0, count - 1)(engine_); }
  double between(double low, double high) { return std::uniform_real_distribution<double>(low, high)(engine_); }
  bool chance(double probability) { return between(0, 1) < probability; }
  template <typename Item, std::size_t Count>
  const Item& pick(const std::array<Item, Count>& items) { return items[below(Count)]; }

 private:
  std::mt19937 engine_;
};

struct Unit {
  int code = 0;
  int parent = 0;
  std::size_t level = 0;
  std::size_t country = 0;
  std::string name;
  double youngest = 0;  // Ma
  double oldest = 0;
};

std::string unitName(Random& random, std::size_t level) {
  std::string name(random.pick(kQualifiers));
  name += random.pick(kFirstSyllables);
  name += random.pick(kSecondSyllables);
  return name + " " + std::string(kLevels[level].rankName);
}

// Units of one country, level by level; each unit's age lies within its parent's.
void addCountryUnits(std::vector<Unit>& units, std::size_t country, std::size_t count, Random& random) {
  std::size_t previousBegin = 0;
  std::size_t previousEnd = 0;
  std::size_t made = 0;
  for (std::size_t level = 0; level < kLevels.size() && made < count; ++level) {
    const bool last = level + 1 == kLevels.size();
    const std::size_t wanted = last ? count - made : std::max<std::size_t>(1, count * kLevels[level].percent / 100);
    const std::size_t begin = units.size();
    for (std::size_t index = 0; index < wanted && made < count; ++index, ++made) {
      Unit unit{static_cast<int>(units.size() + 1), 0, level, country, unitName(random, level), 0, 0};
      if (level == 0) {
        unit.oldest = random.between(10, 3500);
        unit.youngest = unit.oldest * random.between(0.6, 0.95);
      } else {
        const Unit& parent = units[previousBegin + random.below(previousEnd - previousBegin)];
        unit.parent = parent.code;
        const double span = parent.oldest - parent.youngest;
        unit.oldest = parent.oldest - span * random.between(0, 0.5);
        unit.youngest = unit.oldest - span * random.between(0.05, 0.5);
      }
      units.push_back(std::move(unit));
    }
    previousBegin = begin;
    previousEnd = units.size();
  }
}

std::vector<Unit> makeUnits(std::size_t count, Random& random) {
  std::vector<Unit> units;
  units.reserve(count);
  std::size_t assigned = 0;
  for (std::size_t country = 0; country < kCountries.size(); ++country) {
    const bool last = country + 1 == kCountries.size();
    const std::size_t share = last ? count - assigned : count * kCountries[country].percent / 100;
    addCountryUnits(units, country, share, random);
    assigned += share;
  }
  return units;
}

// The finest unit that holds the whole age range, or else the eon of its middle.
int chronoCode(const Unit& unit) {
  int code = 0;
  for (const ChronoUnit& chrono : kChrono) {
    if (chrono.youngest <= unit.youngest && unit.oldest <= chrono.oldest) code = chrono.code;
  }
  const double middle = (unit.youngest + unit.oldest) / 2;
  for (const ChronoUnit& chrono : kChrono) {
    if (code == 0 && chrono.youngest <= middle && middle <= chrono.oldest) code = chrono.code;
  }
  return code;
}

// Every 200th unit is withdrawn from the browsing views, the first exactly at the bound.
bool withdrawn(const Unit& unit) { return unit.code % 200 == 0; }

double sortAge(const Unit& unit) {
  if (withdrawn(unit)) return kWithdrawnYears + (unit.code == 200 ? 0 : unit.code);
  return std::round((unit.youngest + unit.oldest) / 2 * 1e6);
}

double roundedAge(double age) { return std::round(age * 10) / 10; }

void writeLexiconLookups(engine::Database& database, std::uint32_t seed) {
  Inserter countries(database, "CountryList", {"CountryID", "CountryName"});
  for (const Country& country : kCountries) countries(country.id, country.name);
  Inserter ranks(database, "Rank", {"RankAbr", "Rank"});
  for (const Level& level : kLevels) ranks(level.rank, level.rankName);
  Inserter statuses(database, "VORLSTAT", {"Code", "Status"});
  for (const auto& [code, status] : kStatuses) statuses(code, status);
  Inserter chrono(database, "CHRONO", {"CODE", "UNIT", "RANK", "PARENT", "CPARENT"});
  for (const ChronoUnit& unit : kChrono) chrono(unit.code, unit.unit, unit.rank, unit.parent, unit.parent);
  Inserter areas(database, "AreaList", {"AreaID", "AreaName"});
  for (std::size_t index = 0; index < kAreas.size(); ++index) areas(std::to_string(index + 1), kAreas[index]);
  Inserter accepted(database, "AcpInterp", {"InterpAbr", "Interpretation"});
  for (std::size_t index = 0; index < kAcceptedInterpretations; ++index) {
    accepted(kInterpretations[index].abbreviation, kInterpretations[index].name);
  }
  Inserter when(database, "VORLWhen", {"Comment"});
  when("Synthetic data, seed " + std::to_string(seed));
}

void writeUnits(engine::Database& database, const std::vector<Unit>& units) {
  Inserter insert(database, "VORLLIST",
                  {"Years", "Code", "Name", "Rank", "LParent", "CParent", "Status", "MapLabel", "IsHighestLevel",
                   "Description", "AgeMinimum", "AgeMaximum", "AgeUnits", "DateModified", "CountryID", "Dated"});
  for (const Unit& unit : units) {
    const Level& level = kLevels[unit.level];
    const std::string label = std::string(level.rank.substr(0, 1)) + unit.name.substr(0, 3);
    const std::string description = std::string(level.rankName) + " with a synthetic description.";
    const auto topLevel = unit.level == 0 ? std::optional<std::string_view>("Y") : std::nullopt;
    insert(sortAge(unit), unit.code, unit.name, level.rank, unit.parent, chronoCode(unit),
           withdrawn(unit) ? "O" : "F", label, topLevel, description, roundedAge(unit.youngest),
           roundedAge(unit.oldest), "Ma", "2024-01-15", kCountries[unit.country].id, 0);
  }
}

void writeOccurrences(engine::Database& database, const std::vector<Unit>& units, Random& random) {
  Inserter insert(database, "CodeArea", {"Code", "Area"});
  for (const Unit& unit : units) {
    const std::size_t other = 2 + random.below(kAreas.size() - 1);
    if (random.chance(0.3)) insert(unit.code, "1");
    insert(unit.code, std::to_string(other));
  }
}

void writeSynonymsAndCorrelatives(engine::Database& database, const std::vector<Unit>& units, Random& random) {
  Inserter names(database, "SynonList", {"SynonymName", "SynonymRank", "Code"});
  Inserter pairs(database, "Synonyms", {"Code", "Synonym"});
  std::set<std::pair<int, int>> correlatives;
  for (const Unit& unit : units) {
    if (unit.code % 10 == 0) names(unit.name.substr(0, unit.name.rfind(' ')) + " Series", "Series", unit.code);
    if (unit.code % 100 == 0) pairs(unit.code, units[random.below(units.size())].code);
    if (unit.code % 20 == 0) {
      const Unit& other = units[random.below(units.size())];
      if (other.country == unit.country) continue;
      correlatives.insert({unit.code, other.code});
      correlatives.insert({other.code, unit.code});
    }
  }
  Inserter insert(database, "Correlatives", {"Code", "Correlative"});
  for (const auto& [code, correlative] : correlatives) insert(code, correlative);
}

void writeResultCatalogues(engine::Database& database) {
  Inserter countries(database, "Country", {"CountryAbr", "Country"});
  for (const Country& country : kCountries) countries(country.id, country.name);
  Inserter interpretations(database, "Interpretation", {"InterpAbr", "Interpretation"});
  for (const Interpretation& interpretation : kInterpretations) {
    interpretations(interpretation.abbreviation, interpretation.name);
  }
  Inserter systems(database, "IsoSystem", {"IsoSystem", "IsoSystemName", "IsoSysNo", "DecayConst1"});
  for (std::size_t index = 0; index < kIsotopeSystems.size(); ++index) {
    const IsotopeSystem& system = kIsotopeSystems[index];
    systems(system.system, system.name, static_cast<int>(index + 1), system.decayConstant);
  }
  Inserter materials(database, "Material", {"MaterialAbr", "MaterialDescription"});
  for (const auto& [abbreviation, description] : kMaterials) materials(abbreviation, description);
  Inserter approaches(database, "Approach", {"ApproachAbr", "ApproachDescription"});
  approaches("Iso", "Isochron");
  approaches("Conc", "Concordia");
  Inserter techniques(database, "Technique", {"TechAbr", "Technique"});
  techniques("TIMS", "Isotope dilution TIMS");
  techniques("SHRMP", "Sensitive high-resolution ion microprobe");
  Inserter methods(database, "Method", {"MethodAbr", "Method"});
  methods("R", "Regression");
  methods("M", "Model age");
  Inserter levels(database, "PrefLevel", {"PrefLevelNo", "PrefDes"});
  for (int level = 0; level <= 3; ++level) levels(level, "Preference level " + std::to_string(level));
}

struct Suite {
  std::string name;
  std::size_t country;
  double youngest;
  double oldest;
};

// A suite for every fifth unit whose name is still free in its country.
std::vector<Suite> writeSuites(engine::Database& database, const std::vector<Unit>& units) {
  Inserter insert(database, "Suite", {"UnitName", "UnitRank", "CountryAbr", "GISID"});
  std::set<std::pair<std::size_t, std::string_view>> taken;
  std::vector<Suite> suites;
  for (const Unit& unit : units) {
    if (unit.code % 5 != 1 || !taken.insert({unit.country, unit.name}).second) continue;
    insert(unit.name, kLevels[unit.level].rank, kCountries[unit.country].id, unit.code);
    suites.push_back({unit.name, unit.country, unit.youngest, unit.oldest});
  }
  return suites;
}

const Interpretation& pickInterpretation(Random& random) {
  std::size_t draw = random.below(100);
  for (const Interpretation& interpretation : kInterpretations) {
    if (draw < static_cast<std::size_t>(interpretation.weight)) return interpretation;
    draw -= static_cast<std::size_t>(interpretation.weight);
  }
  return kInterpretations.front();
}

void writeResults(engine::Database& database, const std::vector<Suite>& suites, std::size_t count, Random& random) {
  if (suites.empty()) return;
  Inserter insert(database, "IsoRgr20",
                  {"CountryAbr", "UnitName", "MaterialAbr", "IsotopeSystem", "ApproachAbr", "TechAbr", "InterpAbr",
                   "PrefLevel", "IAge", "RegressionNumber", "Age", "AgePError", "AgeMError", "MethodAbr",
                   "DateString", "MSWD", "NSamples", "DecayConst1", "Confidential"});
  Inserter samples(database, "SmpReg", {"RegressionNumber", "SampleNo", "Included", "Latitude", "Longitude"});
  for (std::size_t index = 0; index < count; ++index) {
    const Suite& suite = suites[random.below(suites.size())];
    const IsotopeSystem& system = random.pick(kIsotopeSystems);
    const double age = std::round(random.between(suite.youngest, suite.oldest) * 10) / 10;
    const double error = std::round(age * random.between(0.001, 0.02) * 10) / 10;
    const int number = static_cast<int>(index + 1);
    insert(kCountries[suite.country].id, suite.name, system.material, system.system,
           system.system == "U-Pb" ? "Conc" : "Iso", random.chance(0.5) ? "TIMS" : "SHRMP",
           pickInterpretation(random).abbreviation, static_cast<int>(random.below(4)),
           static_cast<std::int64_t>(std::nearbyint(age * 1000)), number, age, error, error,
           random.chance(0.9) ? "R" : "M", "2019-06-01", random.between(0.2, 3), static_cast<int>(3 + random.below(20)),
           system.decayConstant, random.chance(0.03) ? 1 : 0);
    if (number % 10 == 0) {
      samples(number, std::string("S").append(std::to_string(number)), "Y", random.between(-34, -17), random.between(12, 33));
    }
  }
}

// One transaction of bulk inserts into a database of the layout. The rows are consistent by
// construction, so the rule triggers and the indexes are set aside while they are inserted (a
// trigger program per rule and row, and index updates in random order, would take most of the
// time) and put back before the commit; a unique index put back still refuses duplicates.
class BulkSession {
 public:
  BulkSession(const std::string& alias, const std::string& directory) : session_("Synthetic"), database_(session_, alias) {
    session_.setAlias(alias, directory);
    session_.addPassword(kTablePassword);
    database_.setAliasName(alias);
    database_.open();
    database_.execute("PRAGMA cache_size = -65536");
    database_.startTransaction();
    setAside("trigger");
    setAside("index");
  }
  ~BulkSession() {
    if (database_.inTransaction()) database_.rollback();
  }
  BulkSession(const BulkSession&) = delete;
  BulkSession& operator=(const BulkSession&) = delete;
  engine::Database& database() { return database_; }
  void commit() {
    for (const std::string& sql : setAside_) database_.execute(sql);
    database_.commit();
  }

 private:
  // Drops every object of the kind that was created by SQL (not the automatic key indexes).
  void setAside(const std::string& kind) {
    engine::Statement list(database_.handle(), "SELECT name, sql FROM sqlite_master WHERE type = ? AND sql IS NOT NULL",
                           database_.aliasName());
    list.bind(1, kind);
    std::vector<std::string> names;
    while (list.step()) {
      names.push_back(std::get<std::string>(list.column(0)));
      setAside_.push_back(std::get<std::string>(list.column(1)));
    }
    list.reset();
    for (const std::string& name : names) database_.execute("DROP " + kind + " " + engine::quoteIdentifier(name));
  }

  engine::Session session_;
  engine::Database database_;
  std::vector<std::string> setAside_;  // their SQL, to create them again
};

}  // namespace

std::string generateSyntheticDatabases(const std::string& root, std::size_t unitCount, std::size_t resultCount,
                                       std::uint32_t seed) {
  const DatabaseLayout layout = createEmptyDatabases(root);
  Random random(seed);
  const std::vector<Unit> units = makeUnits(unitCount, random);
  {
    BulkSession lexicon("VORL", layout.lexicon);
    writeLexiconLookups(lexicon.database(), seed);
    writeUnits(lexicon.database(), units);
    writeOccurrences(lexicon.database(), units, random);
    writeSynonymsAndCorrelatives(lexicon.database(), units, random);
    lexicon.commit();
  }
  {
    BulkSession results("ABResults", layout.results);
    writeResultCatalogues(results.database());
    writeResults(results.database(), writeSuites(results.database(), units), resultCount, random);
    results.commit();
  }
  return writeEngineConfiguration(root);
}

}  // namespace data
