#include "report_engine/report_system.h"

#include <QStringList>
#include <algorithm>
#include <memory>
#include <optional>

#include "report_engine/page_output.h"
#include "report_engine/report_generator.h"
#include "report_engine/report_preview_form.h"
#include "report_engine/report_setup_form.h"
#include "report_engine/report_status_form.h"
#include "ui/dialog_seam.h"

namespace reporting {

// The status window of one stage of a run, when the options show it; closed when the stage ends,
// also by a failure.
class StatusStage {
 public:
  StatusStage(const TReportSystem& system, const QString& format, QWidget* parent) {
    if (!system.has(SystemOption::soShowStatus)) return;
    form_ = std::make_unique<TReportStatusForm>(system.TitleStatus, format, parent);
    form_->show();
    form_->pageDone(1);
  }
  ~StatusStage() {
    if (form_) form_->finish();
  }
  StatusStage(const StatusStage&) = delete;
  StatusStage& operator=(const StatusStage&) = delete;

  PageProgress progress() {
    return [this](int page) { return !form_ || form_->pageDone(page); };
  }

 private:
  std::unique_ptr<TReportStatusForm> form_;
};

namespace {

std::vector<int> rangePages(const PrintRange& range, int pageCount) {
  if (!range.Selection.trimmed().isEmpty()) return parsePageSelection(range.Selection, pageCount);
  std::vector<int> pages;
  for (int page = std::max(range.FirstPage, 1); page <= std::min(range.LastPage, pageCount); ++page) {
    pages.push_back(page);
  }
  return pages;
}

// The pages of several copies sent by hand: whole sets one after the other when collated, each
// page repeated otherwise.
std::vector<int> copiesByHand(const std::vector<int>& pages, int copies, bool collate) {
  std::vector<int> sent;
  sent.reserve(pages.size() * copies);
  if (collate) {
    for (int copy = 0; copy < copies; ++copy) sent.insert(sent.end(), pages.begin(), pages.end());
  } else {
    for (const int page : pages) sent.insert(sent.end(), copies, page);
  }
  return sent;
}

}  // namespace

std::vector<int> parsePageSelection(const QString& selection, int pageCount) {
  std::vector<bool> chosen(std::max(pageCount, 0) + 1, false);
  for (const QString& rawPart : selection.split(u',', Qt::SkipEmptyParts)) {
    const QString part = rawPart.trimmed();
    int first = 0, last = 0;
    bool good = true;
    const qsizetype dash = part.indexOf(u'-');
    if (dash < 0) {
      first = last = part.toInt(&good);
    } else {
      const QString from = part.left(dash).trimmed();
      const QString to = part.mid(dash + 1).trimmed();
      bool goodTo = true;
      first = from.isEmpty() ? 1 : from.toInt(&good);
      last = to.isEmpty() ? pageCount : to.toInt(&goodTo);
      good = good && goodTo && !(from.isEmpty() && to.isEmpty());
    }
    if (!good) continue;
    if (first > last) std::swap(first, last);
    for (int page = std::max(first, 1); page <= std::min(last, pageCount); ++page) chosen[page] = true;
  }
  std::vector<int> pages;
  for (int page = 1; page <= pageCount; ++page) {
    if (chosen[page]) pages.push_back(page);
  }
  return pages;
}

TReportSystem::TReportSystem(QWidget* owner) : owner_(owner) {
  if (const std::optional<PrinterInfo> printer = printers().current()) SystemPrinter.Duplex = printer->duplex;
}

void TReportSystem::run(const ReportDefinition& report) {
  if (allows(SystemSetup::ssAllowSetup)) {
    TReportSetupForm setup(*this, TReportSetupForm::Mode::Destination, 0, owner_);
    if (ui::dialogs().exec(setup) != QDialog::Accepted) return;
  } else {
    ReportDestination = DefaultDest;
  }
  const bool preview = ReportDestination == ReportDest::rdPreview;
  // A file destination without a name goes to the printer.
  const bool toFile = ReportDestination == ReportDest::rdFile && !OutputFileName.isEmpty();
  const std::optional<PrinterInfo> printer = printers().current();
  if (!preview && !toFile && !printer) {
    ui::dialogs().message(owner_, ui::MessageKind::Error, QStringLiteral("Error"),
                          QStringLiteral("No printers are defined, aborting print job."));
    return;
  }
  const bool byHand = !preview && !toFile && SystemPrinter.Copies > 1 && !printer->canCopy;
  const PrintRange range{SystemPrinter.FirstPage, SystemPrinter.LastPage, {}};

  if (preview || report.alwaysGenerate || byHand || has(SystemOption::soUseFiler)) {
    std::optional<ReportDocument> document;
    {
      StatusStage status(*this, SystemFiler.StatusFormat, owner_);
      document = generateReport(report, status.progress());
    }
    if (!document) return;
    if (preview) {
      showPreview(*document);
      return;
    }
    print(*document, range, toFile, owner_);
    return;
  }
  // Straight to the printer: the pages count as printed while they are laid out, in one window.
  StatusStage status(*this, SystemPrinter.StatusFormat, owner_);
  const std::optional<ReportDocument> document = generateReport(report, status.progress());
  if (!document) return;
  print(*document, range, toFile, owner_, &status);
}

void TReportSystem::showPreview(const ReportDocument& document) {
  TReportPreviewForm preview(*this, document, owner_);
  ui::dialogs().exec(preview);  // modal in every case: the pages live only for this run
}

bool TReportSystem::printFromPreview(const ReportDocument& document, QWidget* preview) {
  if (!has(SystemOption::soAllowPrintFromPreview)) return false;
  PrintRange range;
  if (allows(SystemSetup::ssAllowPreviewSetup)) {
    TReportSetupForm setup(*this, TReportSetupForm::Mode::Range, static_cast<int>(document.pages.size()), preview);
    if (ui::dialogs().exec(setup) != QDialog::Accepted) return false;
    range = setup.range();
  }
  return print(document, range, false, preview);
}

bool TReportSystem::print(const ReportDocument& document, const PrintRange& range, bool toFile, QWidget* parent,
                          StatusStage* stage) {
  const std::vector<int> pages = rangePages(range, static_cast<int>(document.pages.size()));
  if (!toFile) return sendToPrinter(document, pages, parent, stage);
  ReportDocument chosen = document;
  chosen.pages.clear();
  for (const int page : pages) chosen.pages.push_back(document.pages[page - 1]);
  std::optional<StatusStage> own;
  if (!stage) stage = &own.emplace(*this, SystemPrinter.StatusFormat, parent);
  return writePdf(chosen, OutputFileName, stage->progress());
}

bool TReportSystem::sendToPrinter(const ReportDocument& document, const std::vector<int>& pages, QWidget* parent,
                                  StatusStage* stage) {
  const std::optional<PrinterInfo> printer = printers().current();
  if (!printer) {
    ui::dialogs().message(parent, ui::MessageKind::Error, QStringLiteral("Error"),
                          QStringLiteral("No printers are defined, aborting print job."));
    return false;
  }
  if (pages.empty()) return false;
  PrintJob job{SystemPrinter.Title, printer->name, SystemPrinter.Copies, SystemPrinter.Collate, SystemPrinter.Duplex};
  std::vector<int> sent = pages;
  if (!printer->canCopy && job.copies > 1) {
    sent = copiesByHand(pages, job.copies, job.collate);
    job.copies = 1;
  }
  std::optional<StatusStage> own;
  if (!stage) stage = &own.emplace(*this, SystemPrinter.StatusFormat, parent);
  return printers().print(job, document, sent, stage->progress());
}

}  // namespace reporting
