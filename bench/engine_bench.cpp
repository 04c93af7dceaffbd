// The browsing data module on a 100,000-unit lexicon, each figure beside a baseline that does the
// same reads with raw SQLite calls in the same run.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/dm_vorl.h"
#include "data/synthetic_lexicon.h"
#include "db_engine/database.h"
#include "db_engine/session.h"

namespace {

constexpr int kUnits = 100000;
constexpr std::size_t kStride = 7919;  // a prime, so successive moves land far apart

struct Lexicon {
  std::filesystem::path root;
  std::string configuration;

  Lexicon() {
    root = std::filesystem::temp_directory_path() / "vorl-engine-bench";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    configuration = data::generateSyntheticDatabases(root.string(), kUnits, 0, 1);
  }
  ~Lexicon() { std::filesystem::remove_all(root); }
  std::string unitFile() const { return (root / "VORL" / engine::kDatabaseFileName).string(); }
};

Lexicon& lexicon() {
  static Lexicon instance;
  return instance;
}

struct OpenModule {
  engine::Session session;
  std::unique_ptr<data::TdmVORL> module;
  OpenModule() {
    session.loadConfiguration(lexicon().configuration);
    session.addPassword("pluvek");
    module = std::make_unique<data::TdmVORL>(session);
    module->openStartupDatasets();
    module->CountryList.locate("CountryID", "ZA");
  }
};

// Raw SQLite: the same rows that one move of the unit view reads through its cascade.
class RawCascade {
 public:
  explicit RawCascade(const std::string& file) {
    sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    units_ = prepare("SELECT rowid FROM VORLLIST WHERE CountryID='ZA' AND (Years<4600000000 OR Years IS NULL) "
                     "ORDER BY CountryID, Name, Code");
    while (sqlite3_step(units_) == SQLITE_ROW) rowids_.push_back(sqlite3_column_int64(units_, 0));
    sqlite3_reset(units_);
    unit_ = prepare("SELECT * FROM VORLLIST WHERE rowid=?");
    children_ = prepare("SELECT rowid, Code FROM VORLLIST WHERE LParent=? AND (Years<4600000000 OR Years IS NULL) "
                        "ORDER BY LParent, Name, Code");
    byCode_ = prepare("SELECT * FROM VORLLIST WHERE Code=?");
    status_ = prepare("SELECT * FROM VORLSTAT WHERE Code=?");
    chrono_ = prepare("SELECT * FROM CHRONO WHERE CODE=?");
    rank_ = prepare("SELECT * FROM Rank WHERE RankAbr=?");
    codeArea_ = prepare("SELECT * FROM CodeArea WHERE Code=? ORDER BY Code");
    areaList_ = prepare("SELECT * FROM AreaList WHERE AreaID=?");
    synonList_ = prepare("SELECT * FROM SynonList WHERE Code=? ORDER BY Code");
    correlatives_ = prepare("SELECT * FROM Correlatives WHERE Code=? ORDER BY Code");
  }
  ~RawCascade() {
    for (auto* statement : {units_, unit_, children_, byCode_, status_, chrono_, rank_, codeArea_, areaList_,
                            synonList_, correlatives_})
      sqlite3_finalize(statement);
    sqlite3_close(db_);
  }
  std::size_t count() const { return rowids_.size(); }

  void move(std::size_t position) {
    sqlite3_bind_int64(unit_, 1, rowids_[position]);
    sqlite3_step(unit_);
    const auto code = sqlite3_column_int64(unit_, 1);
    const auto parent = sqlite3_column_int64(unit_, 4);
    const auto chrono = sqlite3_column_int64(unit_, 5);
    const std::string status = text(unit_, 6);
    const std::string rank = text(unit_, 3);
    sqlite3_reset(unit_);

    const auto subUnit = firstChild(code);
    if (subUnit) firstChild(*subUnit);  // the sub-sub-units
    readAll(byCode_, parent);            // the parent, then its rank
    readText(rank_, "");
    readText(status_, status);
    readAll(chrono_, chrono);
    readText(rank_, rank);
    details(code);
    if (subUnit) details(*subUnit);
  }

 private:
  sqlite3_stmt* prepare(const char* sql) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db_, sql, -1, &statement, nullptr);
    return statement;
  }
  static std::string text(sqlite3_stmt* statement, int column) {
    const auto* value = sqlite3_column_text(statement, column);
    return value ? reinterpret_cast<const char*>(value) : "";
  }
  static void drain(sqlite3_stmt* statement) {
    while (sqlite3_step(statement) == SQLITE_ROW)
      for (int column = 0; column < sqlite3_column_count(statement); ++column)
        benchmark::DoNotOptimize(sqlite3_column_value(statement, column));
    sqlite3_reset(statement);
  }
  void readAll(sqlite3_stmt* statement, sqlite3_int64 key) {
    sqlite3_bind_int64(statement, 1, key);
    drain(statement);
  }
  void readText(sqlite3_stmt* statement, const std::string& key) {
    sqlite3_bind_text(statement, 1, key.c_str(), -1, SQLITE_TRANSIENT);
    drain(statement);
  }
  std::optional<sqlite3_int64> firstChild(sqlite3_int64 code) {
    sqlite3_bind_int64(children_, 1, code);
    std::vector<sqlite3_int64> rows;
    std::optional<sqlite3_int64> first;
    while (sqlite3_step(children_) == SQLITE_ROW) {
      rows.push_back(sqlite3_column_int64(children_, 0));
      if (!first) first = sqlite3_column_int64(children_, 1);
    }
    sqlite3_reset(children_);
    if (!rows.empty()) {
      sqlite3_bind_int64(unit_, 1, rows.front());
      drain(unit_);
    }
    return first;
  }
  // Occurrences with the first one's area, synonyms, correlatives with the first one's unit.
  void details(sqlite3_int64 code) {
    sqlite3_bind_int64(codeArea_, 1, code);
    std::string area;
    while (sqlite3_step(codeArea_) == SQLITE_ROW)
      if (area.empty()) area = text(codeArea_, 1);
    sqlite3_reset(codeArea_);
    readText(areaList_, area);
    readAll(synonList_, code);
    sqlite3_bind_int64(correlatives_, 1, code);
    sqlite3_int64 correlative = 0;
    while (sqlite3_step(correlatives_) == SQLITE_ROW)
      if (!correlative) correlative = sqlite3_column_int64(correlatives_, 1);
    sqlite3_reset(correlatives_);
    readAll(byCode_, correlative);
  }

  sqlite3* db_ = nullptr;
  sqlite3_stmt *units_, *unit_, *children_, *byCode_, *status_, *chrono_, *rank_, *codeArea_, *areaList_,
      *synonList_, *correlatives_;
  std::vector<sqlite3_int64> rowids_;
};

void CascadeMove(benchmark::State& state) {
  OpenModule open;
  auto& units = open.module->VORLList;
  std::size_t position = 0;
  for (auto _ : state) {
    position = (position + kStride) % units.recordCount();
    units.moveTo(position);
  }
  state.counters["units in view"] = static_cast<double>(units.recordCount());
}
BENCHMARK(CascadeMove)->Unit(benchmark::kMicrosecond);

void CascadeMoveRawBaseline(benchmark::State& state) {
  RawCascade raw(lexicon().unitFile());
  std::size_t position = 0;
  for (auto _ : state) {
    position = (position + kStride) % raw.count();
    raw.move(position);
  }
}
BENCHMARK(CascadeMoveRawBaseline)->Unit(benchmark::kMicrosecond);

// Name prefixes the synthetic lexicon holds, searched the way the find box does.
const std::vector<std::string> kPrefixes = {"bo", "Kar", "ma", "STE", "ri", "Wit", "ny", "Ha"};

void NameLocate(benchmark::State& state) {
  OpenModule open;
  std::size_t next = 0;
  for (auto _ : state) {
    const auto& prefix = kPrefixes[next++ % kPrefixes.size()];
    benchmark::DoNotOptimize(open.module->VORLList.locate("Name", prefix, {.caseInsensitive = true, .partialKey = true}));
  }
}
BENCHMARK(NameLocate)->Unit(benchmark::kMicrosecond);

// Raw SQLite: the first unit of the view whose name starts with the prefix, by the SQL text given.
void rawNameLocate(benchmark::State& state, const char* sql) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(lexicon().unitFile().c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* statement = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
  std::size_t next = 0;
  for (auto _ : state) {
    const auto& prefix = kPrefixes[next++ % kPrefixes.size()];
    sqlite3_bind_text(statement, 1, prefix.c_str(), -1, SQLITE_STATIC);
    if (sqlite3_step(statement) == SQLITE_ROW) benchmark::DoNotOptimize(sqlite3_column_int64(statement, 0));
    sqlite3_reset(statement);
  }
  sqlite3_finalize(statement);
  sqlite3_close(db);
}

// The fastest raw form: one index seek for the prefix exactly as typed (letter case not ignored).
void NameLocateRawBaseline(benchmark::State& state) {
  rawNameLocate(state,
                "SELECT rowid FROM VORLLIST WHERE CountryID='ZA' AND (Years<4600000000 OR Years IS NULL) "
                "AND Name >= ?1 AND Name < ?1 || char(1114111) ORDER BY CountryID, Name, Code LIMIT 1");
}
BENCHMARK(NameLocateRawBaseline)->Unit(benchmark::kMicrosecond);

// The plain raw form that ignores letter case: LIKE, which SQLite cannot answer from this index.
void NameLocateRawLikeBaseline(benchmark::State& state) {
  rawNameLocate(state,
                "SELECT rowid FROM VORLLIST WHERE CountryID='ZA' AND (Years<4600000000 OR Years IS NULL) "
                "AND Name LIKE ?1||'%' ORDER BY CountryID, Name, Code LIMIT 1");
}
BENCHMARK(NameLocateRawLikeBaseline)->Unit(benchmark::kMicrosecond);

// Opening every start-up dataset on a fresh session: connection, password check and all reads.
void OpenStartupDatasets(benchmark::State& state) {
  for (auto _ : state) {
    OpenModule open;
    benchmark::DoNotOptimize(open.module->VORLList.recordCount());
  }
}
BENCHMARK(OpenStartupDatasets)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
