#pragma once
// The output system of the report windows (ReportSystem1): asks for a destination in the "Report
// Setup" dialog, counts pages in the "Report Status" window while the report is generated or
// printed, and shows the pages in the "Report Preview" window, from which they can be printed.
#include <QString>
#include <optional>
#include <set>
#include <vector>

#include "report_engine/printers.h"
#include "report_engine/report_document.h"
#include "report_engine/report_output.h"

class QWidget;

namespace reporting {

class StatusStage;

enum class ReportDest { rdPreview, rdPrinter, rdFile };
enum class SystemSetup {
  ssAllowSetup, ssAllowCopies, ssAllowCollate, ssAllowDuplex, ssAllowDestPreview, ssAllowDestPrinter,
  ssAllowDestFile, ssAllowPrinterSetup, ssAllowPreviewSetup
};
enum class SystemOption { soUseFiler, soWaitForOK, soShowStatus, soAllowPrintFromPreview, soPreviewModal, soNoGenerate };
enum class PrintUnits { unInch, unMM, unCM, unPoint, unUser };
enum class PrintOrientation { poPortrait, poLandScape };
enum class RulerType { rtNone, rtHorizCm, rtVertCm, rtBothCm, rtHorizIn, rtVertIn, rtBothIn };
enum class StreamMode { smMemory, smTempFile, smUser };
enum class FormState { wsNormal, wsMinimized, wsMaximized };

struct SystemFilerSettings {
  QString StatusFormat = QStringLiteral("Generating page %p");
  reporting::StreamMode StreamMode = reporting::StreamMode::smMemory;
};

struct SystemPrinterSettings {
  QString StatusFormat = QStringLiteral("Printing page %p");
  QString Title = QStringLiteral("VORL Report");
  PrintUnits Units = PrintUnits::unMM;
  double UnitsFactor = 25.4;
  double ScaleX = 100, ScaleY = 100;
  int Copies = 1;
  bool Collate = false;
  DuplexMode Duplex = DuplexMode::dupSimplex;  // the printer's own until a setup changes it
  int FirstPage = 1, LastPage = 9999;
  PrintOrientation Orientation = PrintOrientation::poPortrait;
};

struct SystemPreviewSettings {
  double ZoomFactor = 100;
  int FormWidth = 615, FormHeight = 450;
  reporting::FormState FormState = reporting::FormState::wsNormal;
  double ZoomInc = 10;
  int PageInc = 1;
  reporting::RulerType RulerType = reporting::RulerType::rtNone;
  int ShadowDepth = 0;
  bool Monochrome = false;
};

// The pages one print sends: a selection such as "1-3,5" when given, else FirstPage to LastPage.
struct PrintRange {
  int FirstPage = 1, LastPage = 9999;
  QString Selection;
};

// Pages (1-based, ascending, no repeats) named by a selection of numbers and ranges "a-b", "a-" and
// "-b", separated by commas; pages outside 1..pageCount and parts that are no numbers are left out.
std::vector<int> parsePageSelection(const QString& selection, int pageCount);

class TReportSystem : public ReportOutput {
 public:
  explicit TReportSystem(QWidget* owner = nullptr);

  void run(const ReportDefinition& report) override;

  // Prints pages of a generated document to the printer, as the preview's Print does: the setup
  // dialog in range mode first when allowed. Returns false when cancelled or nothing was printed.
  bool printFromPreview(const ReportDocument& document, QWidget* preview);

  bool allows(SystemSetup setup) const { return SystemSetups.contains(setup); }
  bool has(SystemOption option) const { return SystemOptions.contains(option); }

  QString TitleSetup = QStringLiteral("Report Setup");
  QString TitleStatus = QStringLiteral("Report Status");
  QString TitlePreview = QStringLiteral("Report Preview");
  ReportDest DefaultDest = ReportDest::rdPreview;
  std::set<SystemSetup> SystemSetups{SystemSetup::ssAllowSetup,        SystemSetup::ssAllowCopies,
                                     SystemSetup::ssAllowCollate,      SystemSetup::ssAllowDuplex,
                                     SystemSetup::ssAllowDestPreview,  SystemSetup::ssAllowDestPrinter,
                                     SystemSetup::ssAllowDestFile,     SystemSetup::ssAllowPrinterSetup,
                                     SystemSetup::ssAllowPreviewSetup};
  std::set<SystemOption> SystemOptions{SystemOption::soShowStatus, SystemOption::soAllowPrintFromPreview,
                                       SystemOption::soPreviewModal};
  SystemFilerSettings SystemFiler;
  SystemPrinterSettings SystemPrinter;
  SystemPreviewSettings SystemPreview;

  // Chosen in the setup dialog for the current run.
  ReportDest ReportDestination = ReportDest::rdPreview;
  QString OutputFileName;

 private:
  std::optional<ReportDocument> generate(const ReportDefinition& report, const QString& statusFormat);
  void showPreview(const ReportDocument& document);
  // To the printer, or into OutputFileName when toFile; false when cancelled or refused. Counts
  // the pages in the given status window, or in one of its own.
  bool print(const ReportDocument& document, const PrintRange& range, bool toFile, QWidget* parent,
             StatusStage* stage = nullptr);
  bool sendToPrinter(const ReportDocument& document, const std::vector<int>& pages, QWidget* parent,
                     StatusStage* stage);

  QWidget* owner_;
};

}  // namespace reporting
