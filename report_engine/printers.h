#pragma once
// The platform's printers as the output system sees them: the current printer, its set-up dialog
// and the print queue. Behind a seam so tests can stand in for printers that are absent, two-sided
// or unable to make copies.
#include <QString>
#include <optional>
#include <vector>

#include "report_engine/report_document.h"
#include "report_engine/report_generator.h"

class QWidget;

namespace reporting {

enum class DuplexMode { dupSimplex, dupVertical, dupHorizontal };

struct PrinterInfo {
  QString name;
  QString port;            // empty when the platform does not say
  bool canCopy = true;     // makes several copies of one job itself
  DuplexMode duplex = DuplexMode::dupSimplex;  // the printer's own current setting
};

struct PrintJob {
  QString title;  // the name in the print queue
  QString printer;
  int copies = 1;
  bool collate = false;
  DuplexMode duplex = DuplexMode::dupSimplex;
};

class PrinterSeam {
 public:
  virtual ~PrinterSeam() = default;
  // None when no printer is installed.
  virtual std::optional<PrinterInfo> current() = 0;
  // The platform's printer set-up dialog for the current printer, which it may change.
  virtual void setup(QWidget* parent) = 0;
  // Sends the pages (1-based, in the order given, repeats allowed) as one job. progress is told
  // each page sent; returns false when it cancelled, and then nothing is printed.
  virtual bool print(const PrintJob& job, const ReportDocument& document, const std::vector<int>& pages,
                     const PageProgress& progress) = 0;
};

// The seam in force: the platform's printers unless a test installed its own (nullptr restores).
PrinterSeam& printers();
void setPrinters(PrinterSeam* seam);

}  // namespace reporting
