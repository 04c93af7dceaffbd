#include "reports/print_commands.h"

#include <memory>

#include "ui/dialog_seam.h"

namespace reports {
namespace {

// The clean-up after the window has closed, or after a dataset failed to open: the unit tables
// and the root query first, then the window with the rest of its datasets and its connections.
class PrintRun {
 public:
  explicit PrintRun(std::unique_ptr<TfmRep1> window) : window_(std::move(window)) {}
  ~PrintRun() {
    try {
      window_->data().closeAfterRun();
    } catch (...) {
      // Closing reads nothing; the window's destruction closes whatever is left.
    }
  }
  PrintRun(const PrintRun&) = delete;
  PrintRun& operator=(const PrintRun&) = delete;

  TfmRep1& window() { return *window_; }

 private:
  std::unique_ptr<TfmRep1> window_;
};

}  // namespace

void printReports(TReportData::Root root, engine::Session& session, engine::DataSource& unitSource,
                  const ReportSettings& settings, QWidget* owner) {
  PrintRun run(std::make_unique<TfmRep1>(session, unitSource, settings, owner));
  run.window().data().open(root);
  ui::dialogs().exec(run.window());
}

}  // namespace reports
