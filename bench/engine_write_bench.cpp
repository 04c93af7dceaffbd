// Writes and memory at the sizes of a large lexicon: one post of a unit in a country of 100,000
// units beside the one raw UPDATE it comes down to, and the resident memory with every dataset of
// the three data modules open over 100,000 units and 300,000 results.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "data/dm_ab_results.h"
#include "data/dm_unit_dated.h"
#include "data/dm_vorl.h"
#include "data/synthetic_lexicon.h"
#include "db_engine/database.h"
#include "db_engine/session.h"

namespace {

constexpr std::size_t kUnits = 100000;
constexpr std::size_t kResults = 300000;

struct Lexicon {
  std::filesystem::path root;
  std::string configuration;

  // Generated in a child process, so that the memory figures are those of the reading alone.
  Lexicon() {
    root = std::filesystem::temp_directory_path() / "vorl-write-bench";
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    const auto named = root / "configuration-path";
    if (const pid_t child = fork(); child == 0) {
      std::ofstream(named) << data::generateSyntheticDatabases(root.string(), kUnits, kResults, 1);
      _exit(0);
    } else {
      waitpid(child, nullptr, 0);
    }
    std::getline(std::ifstream(named), configuration);
  }
  ~Lexicon() { if (!std::getenv("VORL_KEEP")) std::filesystem::remove_all(root); }
  std::string unitFile() const { return (root / "VORL" / engine::kDatabaseFileName).string(); }
};

Lexicon& lexicon() {
  static Lexicon instance;
  return instance;
}

// VmRSS, or its part RssAnon (the program's own memory; the rest is mapped database file pages).
double residentMegabytes(const std::string& entry = "VmRSS:") {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(entry, 0) == 0) return std::stod(line.substr(entry.size())) / 1024;
  }
  return 0;
}

struct OpenBrowsing {
  engine::Session session;
  std::unique_ptr<data::TdmVORL> module;
  OpenBrowsing() {
    session.loadConfiguration(lexicon().configuration);
    session.addPassword("pluvek");
    module = std::make_unique<data::TdmVORL>(session);
    module->openStartupDatasets();
    module->CountryList.locate("CountryID", "ZA");
  }
};

void UnitPost(benchmark::State& state) {
  OpenBrowsing open;
  auto& units = open.module->VORLList;
  units.moveTo(units.recordCount() / 2);
  int serial = 0;
  for (auto _ : state) {
    units.edit();
    units.fieldByName("MapLabel").setAsString("M" + std::to_string(++serial % 1000));
    units.post();
  }
  state.counters["range"] = static_cast<double>(units.recordCount());
}
BENCHMARK(UnitPost)->Unit(benchmark::kMicrosecond);

// The same change as one prepared UPDATE by key, each in its own transaction as a post is.
void UnitPostRawBaseline(benchmark::State& state) {
  lexicon();
  sqlite3* db = nullptr;
  sqlite3_open_v2(lexicon().unitFile().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
  sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
  sqlite3_stmt* update = nullptr;
  sqlite3_prepare_v2(db, "UPDATE VORLLIST SET MapLabel = ? WHERE rowid = ?", -1, &update, nullptr);
  int serial = 0;
  for (auto _ : state) {
    const auto label = "M" + std::to_string(++serial % 1000);
    sqlite3_bind_text(update, 1, label.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(update, 2, 5000);
    sqlite3_step(update);
    sqlite3_reset(update);
  }
  sqlite3_finalize(update);
  sqlite3_close(db);
}
BENCHMARK(UnitPostRawBaseline)->Unit(benchmark::kMicrosecond);

// Every dataset of the three modules open at once, as a session that has used every window would
// have them; the figure is the process's resident memory afterwards.
void EveryDatasetOpen(benchmark::State& state) {
  lexicon();
  const double before = residentMegabytes();
  double resident = 0;
  double own = 0;
  for (auto _ : state) {
    engine::Session session;
    session.loadConfiguration(lexicon().configuration);
    session.addPassword("pluvek");
    data::TdmVORL browsing(session);
    data::TdmABResults results(session);
    data::TdmUnitDated dated(session);
    for (const data::DataModule* module : {static_cast<data::DataModule*>(&browsing),
                                           static_cast<data::DataModule*>(&results), static_cast<data::DataModule*>(&dated)}) {
      for (auto* dataset : module->datasets()) dataset->open();
    }
    resident = residentMegabytes();
    own = residentMegabytes("RssAnon:");
  }
  state.counters["resident MB"] = resident;
  state.counters["of which own MB"] = own;
  state.counters["before open MB"] = before;
}
BENCHMARK(EveryDatasetOpen)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
