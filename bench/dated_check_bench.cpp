// The dated-unit check on a synthetic lexicon of 100,000 units and 300,000 results, beside a
// baseline that marks the same units with one SQL UPDATE in the same run, and beside the check's
// own walk written as bare SQLite statements: the floor of any walk that reads range by range and
// posts every mark. Every iteration starts from unmarked units. At the end: the ratios, and
// whether all three left the same marks.
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
  explicit RawConnection(const std::string& file, int flags = 0) {
    if (sqlite3_open_v2(file.c_str(), &handle_, SQLITE_OPEN_READWRITE | flags, nullptr) != SQLITE_OK) {
      throw std::runtime_error("cannot open " + file);
    }
    sqlite3_busy_timeout(handle_, 5000);
  }
  sqlite3* handle() const { return handle_; }
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

// A prepared statement of the bare walk.
class Prepared {
 public:
  Prepared(sqlite3* connection, const char* sql) {
    if (sqlite3_prepare_v2(connection, sql, -1, &statement_, nullptr) != SQLITE_OK) {
      throw std::runtime_error(sqlite3_errmsg(connection));
    }
  }
  ~Prepared() { sqlite3_finalize(statement_); }
  Prepared(const Prepared&) = delete;
  Prepared& operator=(const Prepared&) = delete;
  sqlite3_stmt* operator*() const { return statement_; }
  void run() {
    sqlite3_step(statement_);
    sqlite3_reset(statement_);
  }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

std::string textOf(sqlite3_stmt* statement, int column) {
  const auto* text = sqlite3_column_text(statement, column);
  return text ? reinterpret_cast<const char*>(text) : "";
}

// Reads every column as the engine does: by its type, texts copied.
std::size_t readColumns(sqlite3_stmt* statement) {
  std::size_t bytes = 0;
  for (int column = 0; column < sqlite3_column_count(statement); ++column) {
    switch (sqlite3_column_type(statement, column)) {
      case SQLITE_INTEGER:
        bytes += static_cast<std::size_t>(sqlite3_column_int64(statement, column) != 0);
        break;
      case SQLITE_FLOAT:
        bytes += static_cast<std::size_t>(sqlite3_column_double(statement, column) != 0);
        break;
      case SQLITE_NULL:
        break;
      default:
        bytes += std::string(static_cast<const char*>(sqlite3_column_blob(statement, column)),
                             static_cast<std::size_t>(sqlite3_column_bytes(statement, column)))
                     .size();
    }
  }
  return bytes;
}

// The check's walk without an engine: every unit with all its fields, its first suite, all of
// that suite's results with the fields the module reads, and for each accepted result a
// savepoint and an UPDATE, skipped when the unit already holds that mark (as the engine skips
// a post that changes nothing). The results are read under one read transaction, the marks
// written under one write transaction, on connections set up as the engine sets up its own.
class BareWalk {
 public:
  BareWalk(const std::string& lexiconFile, const std::string& resultsFile)
      : lexicon_(lexiconFile, SQLITE_OPEN_NOMUTEX), results_(resultsFile, SQLITE_OPEN_NOMUTEX) {
    lexicon_.execute("PRAGMA mmap_size=1073741824");
    results_.execute("PRAGMA mmap_size=1073741824");
  }

  void run() {
    lexicon_.execute("BEGIN IMMEDIATE");
    results_.execute("BEGIN");
    std::map<std::string, std::string> accepted = acceptedTexts();
    Prepared units(lexicon_.handle(), "SELECT rowid, * FROM VORLLIST ORDER BY rowid");
    while (sqlite3_step(*units) == SQLITE_ROW) {
      sink_ += readColumns(*units);
      walkUnit(sqlite3_column_int64(*units, 0), sqlite3_column_int64(*units, 2), accepted);
    }
    results_.execute("COMMIT");
    lexicon_.execute("COMMIT");
  }

 private:
  std::map<std::string, std::string> acceptedTexts() {
    std::map<std::string, std::string> texts;
    Prepared accepted(lexicon_.handle(), "SELECT InterpAbr FROM AcpInterp");
    Prepared text(results_.handle(), "SELECT Interpretation FROM Interpretation WHERE InterpAbr = ?");
    while (sqlite3_step(*accepted) == SQLITE_ROW) {
      const std::string code = textOf(*accepted, 0);
      sqlite3_bind_text(*text, 1, code.c_str(), -1, SQLITE_TRANSIENT);
      texts[code] = sqlite3_step(*text) == SQLITE_ROW ? textOf(*text, 0) : "";
      sqlite3_reset(*text);
    }
    return texts;
  }

  void walkUnit(sqlite3_int64 unit, sqlite3_int64 code, const std::map<std::string, std::string>& accepted) {
    sqlite3_bind_int64(*suite_, 1, code);
    if (sqlite3_step(*suite_) != SQLITE_ROW) {
      sqlite3_reset(*suite_);
      return;
    }
    const std::string country = textOf(*suite_, 3);
    const std::string name = textOf(*suite_, 1);
    do {
      sink_ += readColumns(*suite_);
    } while (sqlite3_step(*suite_) == SQLITE_ROW);
    sqlite3_reset(*suite_);
    sqlite3_bind_text(*resultsRange_, 1, country.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(*resultsRange_, 2, name.c_str(), -1, SQLITE_TRANSIENT);
    std::string mark;
    while (sqlite3_step(*resultsRange_) == SQLITE_ROW) {
      sink_ += readColumns(*resultsRange_);
      const auto found = accepted.find(textOf(*resultsRange_, 7));
      if (sqlite3_column_double(*resultsRange_, 10) <= 0 || found == accepted.end() || found->second == mark) continue;
      mark = found->second;
      savepoint_.run();
      sqlite3_bind_text(*mark_, 1, mark.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int64(*mark_, 2, unit);
      mark_.run();
      release_.run();
    }
    sqlite3_reset(*resultsRange_);
  }

  RawConnection lexicon_;
  RawConnection results_;
  Prepared suite_{results_.handle(),
                  "SELECT rowid, UnitName, UnitRank, CountryAbr, GISID FROM Suite WHERE GISID = ? ORDER BY GISID, rowid"};
  Prepared resultsRange_{results_.handle(),
                          "SELECT rowid, CountryAbr, UnitName, MaterialAbr, IsotopeSystem, ApproachAbr, TechAbr, InterpAbr, "
                          "PrefLevel, IAge, Age, AgePError, AgeMError, Lithology, MethodAbr, RegressionNumber FROM IsoRgr20 "
                          "WHERE CountryAbr = ? AND UnitName = ? ORDER BY CountryAbr, UnitName, rowid"};
  Prepared mark_{lexicon_.handle(), "UPDATE VORLLIST SET Dated = 1, Interpretation = ? WHERE rowid = ?"};
  Prepared savepoint_{lexicon_.handle(), "SAVEPOINT mark"};
  Prepared release_{lexicon_.handle(), "RELEASE mark"};
  std::size_t sink_ = 0;  // keeps the reads from being optimised away
};

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
  double seconds = 0;  // the fastest run: the machine's other work only ever adds to a run
  Marks marks;
};
Outcome checkOutcome;
Outcome baselineOutcome;
Outcome bareOutcome;

// Times body on unmarked units; keeps the fastest run and the marks of the last run.
template <typename Body>
void timeRuns(benchmark::State& state, RawConnection& connection, Outcome& outcome, Body&& body) {
  double fastest = 0;
  for (auto _ : state) {
    connection.execute(kClearMarks);
    const auto start = std::chrono::steady_clock::now();
    body();
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(elapsed.count());
    if (fastest == 0 || elapsed.count() < fastest) fastest = elapsed.count();
  }
  outcome.seconds = fastest;
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

void BareStatementWalk(benchmark::State& state) {
  Lexicon& data = lexicon();
  RawConnection connection(data.lexiconFile);
  BareWalk walk(data.lexiconFile, data.resultsFile);
  timeRuns(state, connection, bareOutcome, [&] { walk.run(); });
}

BENCHMARK(SingleUpdateBaseline)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BareStatementWalk)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(DatedUnitCheckRun)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);  // the check shows the wait cursor
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  if (checkOutcome.seconds > 0 && baselineOutcome.seconds > 0 && bareOutcome.seconds > 0) {
    const double baseline = baselineOutcome.seconds;
    std::printf("fastest runs: check %.3f s, baseline %.3f s, ratio %.1f (target: within 3x)\n", checkOutcome.seconds,
                baseline, checkOutcome.seconds / baseline);
    std::printf("the walk as bare statements %.3f s, ratio %.1f to the baseline; the check takes %.2f times it\n",
                bareOutcome.seconds, bareOutcome.seconds / baseline, checkOutcome.seconds / bareOutcome.seconds);
    const bool agree = checkOutcome.marks == baselineOutcome.marks && bareOutcome.marks == baselineOutcome.marks;
    std::printf("marks agree: %s (%zu units marked by the check, %zu by the baseline, %zu by the bare walk)\n",
                agree ? "yes" : "NO", checkOutcome.marks.size(), baselineOutcome.marks.size(), bareOutcome.marks.size());
  }
  benchmark::Shutdown();
  ui::setDialogs(nullptr);
  return 0;
}
