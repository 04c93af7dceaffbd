#include "report_engine/report_project.h"

#include <QFileInfo>

#include "report_engine/project_file_reader.h"
#include "report_engine/report_error.h"

namespace reporting {

QString withProjectExtension(const QString& name) {
  return name.contains(u'.') ? name : name + QStringLiteral(".rpd");
}

void TReportProject::setProjectFile(const QString& name) {
  close();
  projectFile_ = withProjectExtension(name);
}

void TReportProject::open() {
  if (open_) return;
  const QString path = QFileInfo(projectFile_).absoluteFilePath();
  if (!QFileInfo(path).isFile()) {
    throw ReportError(QStringLiteral("The following reporting project does not exist:\n\"%1\"").arg(path));
  }
  reports_ = readProjectFile(path);
  open_ = true;
}

void TReportProject::close() {
  active_ = nullptr;
  reports_.clear();
  open_ = false;
}

std::vector<TReportProject::Entry> TReportProject::listByCategory(const QString& categories, bool useFullNames) const {
  const QString wanted = (u';' + categories + u';').toUpper();
  std::vector<Entry> entries;
  for (const auto& report : reports_) {
    if (report.category.isEmpty() || !wanted.contains(report.category.toUpper())) continue;
    entries.push_back({useFullNames ? report.fullName : report.name, &report});
  }
  return entries;
}

QStringList TReportProject::listNames(const QString& categories, bool useFullNames) const {
  QStringList names;
  for (const auto& entry : listByCategory(categories, useFullNames)) names.append(entry.text);
  return names;
}

bool TReportProject::chooseReport(const QString& text, bool matchFullNames) {
  open();
  for (const auto& report : reports_) {
    if ((matchFullNames && report.fullName.compare(text, Qt::CaseInsensitive) == 0) ||
        report.name.compare(text, Qt::CaseInsensitive) == 0) {
      active_ = &report;
      return true;
    }
  }
  return false;
}

QString TReportProject::description() const { return active_ ? active_->description : QString(); }

void TReportProject::run() {
  open();
  if (active_ && engine_) engine_->run(*active_);
}

}  // namespace reporting
