#pragma once
// The report project: the reports of one project file, listed by category, one of them active and
// run through the output system named as its engine.
#include <QString>
#include <QStringList>
#include <vector>

#include "report_engine/report_definition.h"
#include "report_engine/report_output.h"

namespace reporting {

class TReportProject {
 public:
  // A name without any "." gets ".rpd" appended; a dot in a directory name counts.
  void setProjectFile(const QString& name);
  const QString& projectFile() const { return projectFile_; }
  void setEngine(ReportOutput* engine) { engine_ = engine; }
  ReportOutput* engine() const { return engine_; }

  // Loads the file, its name expanded against the current directory; nothing if already open.
  // A missing file raises ReportError "The following reporting project does not exist:" + line
  // break + the full path in double quotes; a bad file raises ReportError naming line and column,
  // and leaves the project closed.
  void open();
  bool isOpen() const { return open_; }
  void close();  // discards the loaded reports

  struct Entry {
    QString text;
    const ReportDefinition* report;
  };
  // In project order, the reports whose upper-cased Category occurs in ";" + categories + ";"
  // upper-cased; an empty category is never listed. Entries are full names or names.
  std::vector<Entry> listByCategory(const QString& categories, bool useFullNames = true) const;
  QStringList listNames(const QString& categories, bool useFullNames = true) const;

  // Opens if needed; the first report whose FullName (or Name) equals text, ignoring case,
  // becomes active. Returns false (active report unchanged) when none matches.
  bool chooseReport(const QString& text, bool matchFullNames = true);
  const ReportDefinition* activeReport() const { return active_; }
  QString description() const;  // of the active report; empty when none

  // Opens if needed and renders the active report through the engine (nothing without one).
  void run();

  const std::vector<ReportDefinition>& reports() const { return reports_; }

 private:
  QString projectFile_ = QStringLiteral("*.rpd");
  ReportOutput* engine_ = nullptr;
  bool open_ = false;
  std::vector<ReportDefinition> reports_;
  const ReportDefinition* active_ = nullptr;
};

// The ".rpd" rule on its own.
QString withProjectExtension(const QString& name);

}  // namespace reporting
