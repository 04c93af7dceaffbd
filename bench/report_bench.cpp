// "Print all" of the bundled hierarchy report over a generated 100,000-unit lexicon into a PDF file,
// beside a baseline in the same run that draws the same lines of text with QPainter straight into
// QPdfWriter. Reports pages per second and the process's peak memory.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <filesystem>
#include <fstream>
#include <memory>

#include "bench/bench_program.h"
#include "data/synthetic_lexicon.h"
#include "db_engine/session.h"
#include "db_engine/table.h"
#include "report_engine/page_output.h"
#include "report_engine/report_generator.h"
#include "report_engine/report_project.h"
#include "report_engine/text_metrics.h"
#include "reports/report_data.h"

namespace {

constexpr int kUnits = 100000;

struct Lexicon {
  std::filesystem::path root = std::filesystem::temp_directory_path() / "vorl-report-bench";
  std::string configuration;
  Lexicon() {
    std::filesystem::remove_all(root);
    std::filesystem::create_directories(root);
    configuration = data::generateSyntheticDatabases(root.string(), kUnits, 0, 1);
  }
  ~Lexicon() { std::filesystem::remove_all(root); }
  QString output(const char* name) const { return QString::fromStdString((root / name).string()); }
};

Lexicon& lexicon() {
  static Lexicon instance;
  return instance;
}

// The report datasets opened as "Print all" opens them.
struct PrintAll {
  engine::Session session;
  engine::Table units{session, "Units"};
  engine::DataSource unitSource{"dsUnits", &units};
  std::unique_ptr<reports::TReportData> data;
  reporting::TReportProject project;
  PrintAll() {
    session.loadConfiguration(lexicon().configuration);
    session.addPassword("pluvek");
    units.setDatabaseName("VORL");
    units.setTableName("VORLLIST.DB");
    data = std::make_unique<reports::TReportData>(session, unitSource);
    data->open(reports::TReportData::Root::TopLevel);
    project.setProjectFile(VORL_SAMPLE_DIR "/reports/VORL.rpd");
    project.chooseReport("Hierarchy");
  }
};

long peakMemoryKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

void BM_PrintAllHierarchyToPdf(benchmark::State& state) {
  PrintAll run;
  std::size_t pages = 0;
  for (auto _ : state) {
    const auto document = reporting::generateReport(*run.project.activeReport());
    reporting::writePdf(*document, lexicon().output("hierarchy.pdf"));
    pages = document->pages.size();
  }
  state.counters["pages"] = static_cast<double>(pages);
  state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages * state.iterations()), benchmark::Counter::kIsRate);
  state.counters["peak MB"] = static_cast<double>(peakMemoryKilobytes()) / 1024;
}
BENCHMARK(BM_PrintAllHierarchyToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same text lines at the same places, drawn without the engine.
void BM_BaselineSameLinesWithQPainter(benchmark::State& state) {
  PrintAll run;
  const auto document = reporting::generateReport(*run.project.activeReport());
  for (auto _ : state) {
    QFile file(lexicon().output("baseline.pdf"));
    file.open(QIODevice::WriteOnly);
    QPdfWriter writer(&file);
    writer.setResolution(1200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF());
    QPainter painter(&writer);
    const double scale = 1200 / 25.4;
    std::vector<QFont> fonts;
    for (const auto& style : document->fonts) fonts.push_back(reporting::deviceFont(style, writer.logicalDpiY(), scale));
    for (std::size_t page = 0; page < document->pages.size(); ++page) {
      if (page > 0) writer.newPage();
      for (const auto& text : document->pages[page].texts) {
        painter.setFont(fonts[text.font]);
        painter.drawText(text.baseline * scale, text.text);
      }
    }
  }
  state.counters["pages"] = static_cast<double>(document->pages.size());
}
BENCHMARK(BM_BaselineSameLinesWithQPainter)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) { return bench::runInApplication(argc, argv); }
