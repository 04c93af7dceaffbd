// Runs one report of a report project into a PDF file, with no window: the same engine, report
// datasets and connections as File > Print ("--unit CODE") and File > Print all ("--all").
#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QStandardPaths>
#include <cstdio>
#include <iostream>

#include "app/program_start.h"
#include "app/vorl_varb.h"
#include "data/sample_database.h"
#include "db_engine/format_settings.h"
#include "db_engine/session.h"
#include "db_engine/table.h"
#include "report_engine/page_output.h"
#include "report_engine/report_error.h"
#include "report_engine/report_generator.h"
#include "report_engine/report_project.h"
#include "reports/report_data.h"
#include "ui/dialog_seam.h"

namespace {

// Messages the engine would show in a box go to the terminal.
class TerminalDialogs : public ui::DialogSeam {
 public:
  void message(QWidget*, ui::MessageKind, const QString&, const QString& text) override {
    std::cerr << "vorl_report: " << text.toStdString() << '\n';
    failed = true;
  }
  int exec(QDialog&) override { return 0; }
  bool failed = false;
};

// Lays the report out and writes it to the output file, telling each page on the terminal.
class PdfFileOutput : public reporting::ReportOutput {
 public:
  explicit PdfFileOutput(QString fileName) : fileName_(std::move(fileName)) {}
  void run(const reporting::ReportDefinition& report) override {
    const auto document = reporting::generateReport(report, [](int page) {
      std::cout << "Generating page " << page << '\n' << std::flush;
      return true;
    });
    if (!document) return;
    reporting::writePdf(*document, fileName_);
    pages = static_cast<int>(document->pages.size());
  }
  int pages = 0;

 private:
  QString fileName_;
};

[[noreturn]] void fail(const QString& text) { throw std::runtime_error(text.toStdString()); }

struct Options {
  QString project, report, output, configuration;
  std::optional<qlonglong> unit;
};

Options parse(const QApplication& application) {
  QCommandLineParser parser;
  parser.setApplicationDescription("Runs a report of a report project into a PDF file.");
  parser.addHelpOption();
  parser.addOptions({
      {"project", "The report project file (default: the bundled one).", "file"},
      {"report", "The report, by name or full name.", "name"},
      {"unit", "Report on the unit with this code, as File > Print.", "code"},
      {"all", "Report on every top-level unit, as File > Print all."},
      {"config", "The engine configuration (default: the program's own).", "file"},
      {"output", "The PDF file to write.", "file"},
  });
  parser.process(application);
  Options options;
  options.project = parser.value("project");
  if (options.project.isEmpty()) options.project = QString::fromStdString(vorl::sampleDirectory()) + "/reports/VORL.rpd";
  options.report = parser.value("report");
  options.output = parser.value("output");
  options.configuration = parser.value("config");
  if (options.report.isEmpty() || options.output.isEmpty()) fail("--report and --output are required (see --help).");
  if (parser.isSet("unit") == parser.isSet("all")) fail("give either --unit CODE or --all.");
  if (parser.isSet("unit")) {
    bool ok = false;
    options.unit = parser.value("unit").toLongLong(&ok);
    if (!ok) fail("--unit needs a unit code (a whole number), not \"" + parser.value("unit") + "\".");
  }
  return options;
}

void configure(engine::Session& session, const QString& configuration) {
  engine::formatSettings().shortDateFormat = vorl::shortDateFormatFor(QLocale());
  const std::string file = configuration.isEmpty()
                               ? vorl::prepareEngineConfiguration(
                                     QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                                     QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
                                     vorl::sampleDirectory())
                               : configuration.toStdString();
  if (!QFileInfo::exists(QString::fromStdString(file))) fail("no engine configuration \"" + QString::fromStdString(file) + "\".");
  session.loadConfiguration(file);
  session.addPassword(data::kTablePassword);
}

int runReport(const Options& options) {
  engine::Session& session = engine::Session::defaultSession();
  configure(session, options.configuration);
  // The unit that "Print" starts from, found by its code among all units.
  engine::Table units(session, "Units");
  units.setDatabaseName("VORL");
  units.setTableName("VORLLIST.DB");
  units.setIndexName("UQCode");
  engine::DataSource unitSource("dsUnits", &units);
  units.open();
  if (options.unit && !units.locate("Code", std::to_string(*options.unit))) {
    fail(QStringLiteral("no unit has the code %1.").arg(*options.unit));
  }
  reports::TReportData reportData(session, unitSource);
  reportData.open(options.unit ? reports::TReportData::Root::CurrentUnit : reports::TReportData::Root::TopLevel);

  PdfFileOutput output(options.output);
  reporting::TReportProject project;
  project.setEngine(&output);
  project.setProjectFile(options.project);
  project.open();
  if (!project.chooseReport(options.report)) {
    fail("the project \"" + project.projectFile() + "\" has no report \"" + options.report + "\".");
  }
  project.run();
  reportData.closeAfterRun();
  if (output.pages == 0) return 1;
  std::cout << "Wrote " << output.pages << (output.pages == 1 ? " page" : " pages") << " to "
            << options.output.toStdString() << '\n';
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName("VORL");
  TerminalDialogs dialogs;
  ui::setDialogs(&dialogs);
  int status = 1;
  try {
    status = runReport(parse(application));
  } catch (const std::exception& error) {
    std::cerr << "vorl_report: " << error.what() << '\n';
  }
  ui::setDialogs(nullptr);
  return dialogs.failed ? 1 : status;
}
