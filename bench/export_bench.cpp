// Export of a 100,000-unit lexicon to CSV and to JSON, and the bulk reading that both start with.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "data/lexicon_export.h"
#include "data/synthetic_lexicon.h"
#include "db_engine/database.h"
#include "db_engine/session.h"

namespace {

namespace fs = std::filesystem;

constexpr int kUnits = 100000;

struct Lexicon {
  fs::path root;
  engine::Session session{"Export"};

  Lexicon() {
    root = fs::temp_directory_path() / "vorl-export-bench";
    fs::remove_all(root);
    fs::create_directories(root);
    session.loadConfiguration(data::generateSyntheticDatabases(root.string(), kUnits, 0, 1));
    session.addPassword("pluvek");
  }
  ~Lexicon() { fs::remove_all(root); }
  engine::Database& database() { return session.database("VORL"); }
};

Lexicon& lexicon() {
  static Lexicon instance;
  return instance;
}

void exportTo(benchmark::State& state, const std::string& name, const data::ExportChoice& choice) {
  const std::string file = (lexicon().root / name).string();
  std::size_t units = 0;
  for (auto _ : state) units = data::exportLexicon(lexicon().database(), choice, file).units;
  state.counters["units"] = static_cast<double>(units);
  state.counters["MB"] = static_cast<double>(fs::file_size(file)) / 1e6;
}

void ExportAllCountriesCsv(benchmark::State& state) { exportTo(state, "units.csv", {std::nullopt, true}); }
BENCHMARK(ExportAllCountriesCsv)->Unit(benchmark::kMillisecond)->Iterations(5);

void ExportAllCountriesJson(benchmark::State& state) { exportTo(state, "units.json", {std::nullopt, true}); }
BENCHMARK(ExportAllCountriesJson)->Unit(benchmark::kMillisecond)->Iterations(5);

// The browsing bound applied, one country (most synthetic units are in "ZA").
void ExportOneCountryCsv(benchmark::State& state) { exportTo(state, "za.csv", {"ZA", false}); }
BENCHMARK(ExportOneCountryCsv)->Unit(benchmark::kMillisecond)->Iterations(5);

// The reading alone, so the figures above split into reading and writing.
void ReadAllCountries(benchmark::State& state) {
  std::size_t units = 0;
  for (auto _ : state) units = data::readExportedUnits(lexicon().database(), {std::nullopt, true}).units.size();
  state.counters["units"] = static_cast<double>(units);
}
BENCHMARK(ReadAllCountries)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
