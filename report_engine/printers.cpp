#include "report_engine/printers.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "report_engine/page_output.h"
#include "report_engine/report_error.h"
#include "ui/dialog_seam.h"

namespace reporting {
namespace {

DuplexMode duplexOf(QPrinter::DuplexMode mode) {
  switch (mode) {
    case QPrinter::DuplexLongSide: return DuplexMode::dupVertical;
    case QPrinter::DuplexShortSide: return DuplexMode::dupHorizontal;
    default: return DuplexMode::dupSimplex;
  }
}

QPrinter::DuplexMode qtDuplex(DuplexMode mode) {
  switch (mode) {
    case DuplexMode::dupVertical: return QPrinter::DuplexLongSide;
    case DuplexMode::dupHorizontal: return QPrinter::DuplexShortSide;
    case DuplexMode::dupSimplex: break;
  }
  return QPrinter::DuplexNone;
}

class PlatformPrinters : public PrinterSeam {
 public:
  std::optional<PrinterInfo> current() override {
    const QPrinterInfo info = currentInfo();
    if (info.isNull()) return std::nullopt;
    QPrinter printer(info);
    // The platform names no port for its queues; the label then shows the name alone.
    return PrinterInfo{info.printerName(), {}, printer.supportsMultipleCopies(), duplexOf(info.defaultDuplexMode())};
  }

  void setup(QWidget* parent) override {
    const QPrinterInfo info = currentInfo();
    if (info.isNull()) return;
    QPrinter printer(info);
    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrinterSetupDialog"));
    if (ui::dialogs().exec(dialog) == QDialog::Accepted && !printer.printerName().isEmpty()) {
      chosen_ = printer.printerName();
    }
  }

  bool print(const PrintJob& job, const ReportDocument& document, const std::vector<int>& pages,
             const PageProgress& progress) override {
    QPrinter printer(QPrinterInfo::printerInfo(job.printer), QPrinter::HighResolution);
    printer.setDocName(job.title);
    printer.setCopyCount(job.copies);
    printer.setCollateCopies(job.collate);
    printer.setDuplex(qtDuplex(job.duplex));
    printer.setFullPage(true);
    const double shortSide = std::min(document.pageWidth, document.pageHeight);
    const double longSide = std::max(document.pageWidth, document.pageHeight);
    printer.setPageLayout(QPageLayout(QPageSize(QSizeF(shortSide, longSide), QPageSize::Millimeter),
                                      document.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF()));
    QPainter painter;
    if (!painter.begin(&printer)) {
      throw ReportError(QStringLiteral("The printer \"%1\" could not start the print job").arg(job.printer));
    }
    const double pixelsPerMillimetre = printer.resolution() / 25.4;
    bool first = true;
    for (const int page : pages) {
      if (page < 1 || page > static_cast<int>(document.pages.size())) continue;
      if (progress && !progress(page)) {
        printer.abort();
        return false;
      }
      if (!first) printer.newPage();
      first = false;
      drawPage(painter, document, page - 1, pixelsPerMillimetre);
    }
    painter.end();
    return true;
  }

 private:
  QPrinterInfo currentInfo() const {
    if (!chosen_.isEmpty()) {
      const QPrinterInfo chosen = QPrinterInfo::printerInfo(chosen_);
      if (!chosen.isNull()) return chosen;
    }
    const QPrinterInfo standard = QPrinterInfo::defaultPrinter();
    if (!standard.isNull()) return standard;
    const QList<QPrinterInfo> all = QPrinterInfo::availablePrinters();
    return all.isEmpty() ? QPrinterInfo() : all.front();
  }

  QString chosen_;
};

PrinterSeam* installed = nullptr;

}  // namespace

PrinterSeam& printers() {
  static PlatformPrinters platform;
  return installed ? *installed : platform;
}

void setPrinters(PrinterSeam* seam) { installed = seam; }

}  // namespace reporting
