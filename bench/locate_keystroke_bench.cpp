// One keystroke in the find box on a 100,000-unit lexicon with 300,000 dating results: the text
// change, the locate, and the refresh of every control bound to the moved datasets, painting
// included. Target: under 5 ms. Then the same with the Geochronology tab showing and its query open,
// which runs again at every move of the unit. Target: under 2 ms.
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/page_control.h"
#include "bench/bench_program.h"
#include "data/synthetic_lexicon.h"

namespace {

constexpr std::size_t kUnits = 100000;
constexpr std::size_t kResults = 300000;

struct Program : bench::Program {
  // The link to the results on, so that the window shows the Geochronology tab.
  Program()
      : bench::Program("[Other links]\nAmbrell=1\n", [](const std::string& directory) {
          return data::generateSyntheticDatabases(directory, kUnits, kResults, 1);
        }) {}

  // The texts typed: the growing prefixes of names spread over the lexicon, each word then cleared.
  std::vector<QString> keystrokes() const {
    std::vector<QString> texts;
    engine::Dataset& units = dmVORL->VORLList;
    const std::size_t step = std::max<std::size_t>(1, units.recordCount() / 50);
    for (std::size_t row = 0; row < units.recordCount(); row += step) {
      units.moveTo(row);
      const QString name = QString::fromStdString(units.fieldByName("Name").asString());
      for (qsizetype length = 1; length <= std::min<qsizetype>(name.size(), 6); ++length) texts.push_back(name.left(length));
      texts.push_back(QString());
    }
    units.first();
    return texts;
  }

  // Shows the Geochronology tab and presses "Open", as the user would.
  bool openGeochronology() {
    auto* tabs = window->findChild<vorl::PageControl*>("PageControl2");
    auto* page = window->findChild<QWidget*>("tsGeochronology");
    auto* open = window->findChild<QPushButton*>("bOpen");
    if (!tabs || !page || !open || !tabs->isPageVisible(page)) return false;
    tabs->setCurrentPage(page);
    open->click();
    QApplication::processEvents();
    return window->ABQuery().active();
  }
};

// Built once for both benchmarks, so that they run side by side on the same data.
std::unique_ptr<Program> shared;

Program& program() {
  if (!shared) shared = std::make_unique<Program>();
  return *shared;
}

void typeKeystrokes(benchmark::State& state, Program& program) {
  auto* findBox = program.window->findChild<QLineEdit*>("eLocate");
  const std::vector<QString> texts = program.keystrokes();
  if (!findBox || texts.empty() || program.dialogs.messages > 0) {
    state.SkipWithError("the main window did not start on the synthetic lexicon");
    return;
  }
  std::size_t next = 0;
  for (auto _ : state) {
    findBox->setText(texts[next]);
    QApplication::processEvents();  // the repaint of every control that follows
    next = (next + 1) % texts.size();
  }
  state.counters["units"] = static_cast<double>(program.dmVORL->VORLList.recordCount());
  if (program.dialogs.messages > 0) state.SkipWithError("a message was shown while typing");
}

void BM_LocateKeystroke(benchmark::State& state) { typeKeystrokes(state, program()); }

void BM_LocateKeystrokeGeochronologyOpen(benchmark::State& state) {
  if (!program().openGeochronology()) {
    state.SkipWithError("the Geochronology query did not open");
    return;
  }
  typeKeystrokes(state, program());
}

BENCHMARK(BM_LocateKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LocateKeystrokeGeochronologyOpen)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  return bench::runInApplication(argc, argv, [] { shared.reset(); });
}
