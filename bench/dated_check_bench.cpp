// The dated-unit check on a synthetic lexicon of 100,000 units and 300,000 results, beside a
// baseline that marks the same units with one SQL UPDATE in the same run. Every iteration starts
// from unmarked units. At the end: the ratio of the two, and whether both left the same marks.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QApplication>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

#include "app/dated_unit_check.h"
#include "data/dm_unit_dated.h"
#include "data/synthetic_lexicon.h"
#include "db_engine/database.h"
#include "db_engine/session.h"
#include "ui/dialog_seam.h"

namespace {

constexpr std::size_t kUnits = 100000;
constexpr std::size_t kResults = 300000;

using Marks = std::map<long long, std::pair<bool, std::string>>;

class NoDialogs : public ui::DialogSeam {
 public:
  void message(QWidget*, ui::MessageKind, const QString&, const QString&) override {}
  int exec(QDialog&) override { return 0; }
};

// Runs SQL on a connection of its own, the way a tool would.
class RawConnection {
 public:
  explicit RawConnection(const std::string& file) {
    if (sqlite3_open(file.c_str(), &handle_) != SQLITE_OK) throw std::runtime_error("cannot open " + file);
    sqlite3_busy_timeout(handle_, 5000);
  }
  ~RawConnection() { sqlite3_close(handle_); }
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  void execute(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(handle_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
      const std::string message = error ? error : "unknown error";
      sqlite3_free(error);
      throw std::runtime_error(message);
    }
  }

  void attach(const std::string& file, const std::string& schema) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(handle_, ("ATTACH DATABASE ? AS " + schema).c_str(), -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, file.c_str(), -1, SQLITE_TRANSIENT);
    const int result = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (result != SQLITE_DONE) throw std::runtime_error("cannot attach " + file);
  }

  Marks marks() {
    sqlite3_stmt* statement = nullptr;
    const char* sql = "SELECT Code, Dated, Interpretation FROM VORLLIST WHERE Dated";
    sqlite3_prepare_v2(handle_, sql, -1, &statement, nullptr);
    Marks marks;
    while (sqlite3_step(statement) == SQLITE_ROW) {
      const auto* text = sqlite3_column_text(statement, 2);
      marks[sqlite3_column_int64(statement, 0)] = {sqlite3_column_int(statement, 1) != 0,
                                                   text ? reinterpret_cast<const char*>(text) : ""};
    }
    sqlite3_finalize(statement);
    return marks;
  }

 private:
  sqlite3* handle_ = nullptr;
};

// The first suite of a unit is the first in (GISID, row) order; its last result in
// (CountryAbr, UnitName, row) order with an age and an accepted code gives the interpretation.
constexpr const char* kBaselineUpdate = R"(
WITH firstSuite AS (
  SELECT suite.GISID AS Code, suite.CountryAbr, suite.UnitName FROM results.Suite AS suite
  WHERE suite.rowid = (SELECT MIN(other.rowid) FROM results.Suite AS other WHERE other.GISID = suite.GISID)),
marks AS (
  SELECT firstSuite.Code,
    (SELECT interpretation.Interpretation FROM results.IsoRgr20 AS result
       JOIN AcpInterp AS accepted ON accepted.InterpAbr = result.InterpAbr
       LEFT JOIN results.Interpretation AS interpretation ON interpretation.InterpAbr = result.InterpAbr
     WHERE result.CountryAbr = firstSuite.CountryAbr AND result.UnitName = firstSuite.UnitName AND result.Age > 0
     ORDER BY result.rowid DESC LIMIT 1) AS Text,
    EXISTS (SELECT 1 FROM results.IsoRgr20 AS result
       JOIN AcpInterp AS accepted ON accepted.InterpAbr = result.InterpAbr
     WHERE result.CountryAbr = firstSuite.CountryAbr AND result.UnitName = firstSuite.UnitName
       AND result.Age > 0) AS Dated
  FROM firstSuite)
UPDATE VORLLIST SET Dated = 1, Interpretation = (SELECT Text FROM marks WHERE marks.Code = VORLLIST.Code)
WHERE Code IN (SELECT Code FROM marks WHERE Dated))";

constexpr const char* kClearMarks = "UPDATE VORLLIST SET Dated = 0, Interpretation = NULL";

struct Lexicon {
  QTemporaryDir directory;
  std::string lexiconFile;
  std::string resultsFile;
  engine::Session session{"Bench"};
  NoDialogs dialogs;
  std::unique_ptr<data::TdmUnitDated> module;

  Lexicon() {
    const std::string configuration =
        data::generateSyntheticDatabases(directory.path().toStdString(), kUnits, kResults, 1);
    session.loadConfiguration(configuration);
    session.addPassword("pluvek");
    lexiconFile = session.aliasDirectory("VORL").value() + "/" + engine::kDatabaseFileName;
    resultsFile = session.aliasDirectory("ABResults").value() + "/" + engine::kDatabaseFileName;
    module = std::make_unique<data::TdmUnitDated>(session);
    ui::setDialogs(&dialogs);
  }
};

Lexicon& lexicon() {
  static Lexicon instance;
  return instance;
}

struct Outcome {
  double seconds = 0;  // per run
  Marks marks;
};
Outcome checkOutcome;
Outcome baselineOutcome;

// Times body on unmarked units; returns seconds per run and the marks of the last run.
template <typename Body>
void timeRuns(benchmark::State& state, RawConnection& connection, Outcome& outcome, Body&& body) {
  double total = 0;
  for (auto _ : state) {
    connection.execute(kClearMarks);
    const auto start = std::chrono::steady_clock::now();
    body();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(elapsed.count());
    total += elapsed.count();
  }
  outcome.seconds = total / static_cast<double>(state.iterations());
  outcome.marks = connection.marks();
  state.counters["marked"] = static_cast<double>(outcome.marks.size());
}

void DatedUnitCheckRun(benchmark::State& state) {
  Lexicon& data = lexicon();
  RawConnection connection(data.lexiconFile);
  timeRuns(state, connection, checkOutcome, [&] { DatedUnitCheck(*data.module, nullptr).run(true, true); });
}

void SingleUpdateBaseline(benchmark::State& state) {
  Lexicon& data = lexicon();
  RawConnection connection(data.lexiconFile);
  connection.attach(data.resultsFile, "results");
  timeRuns(state, connection, baselineOutcome, [&] { connection.execute(kBaselineUpdate); });
}

BENCHMARK(SingleUpdateBaseline)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(DatedUnitCheckRun)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);  // the check shows the wait cursor
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  if (checkOutcome.seconds > 0 && baselineOutcome.seconds > 0) {
    std::printf("check %.3f s, baseline %.3f s, ratio %.1f (target: within 10x and under 10 s)\n", checkOutcome.seconds,
                baselineOutcome.seconds, checkOutcome.seconds / baselineOutcome.seconds);
    std::printf("marks agree: %s (%zu units marked by the check, %zu by the baseline)\n",
                checkOutcome.marks == baselineOutcome.marks ? "yes" : "NO", checkOutcome.marks.size(),
                baselineOutcome.marks.size());
  }
  benchmark::Shutdown();
  ui::setDialogs(nullptr);
  return 0;
}
