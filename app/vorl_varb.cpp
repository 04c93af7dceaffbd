#include "app/vorl_varb.h"

#include <QDir>
#include <QStandardPaths>

#include "app/program_start.h"
#include "data/sample_database.h"

std::string ReportFileName;
bool AmbrellLink = false;
bool SequenceLink = false;

namespace vorl {
namespace {

std::string& overriddenSettingsFileName() {
  static std::string fileName;
  return fileName;
}

}  // namespace

std::string settingsFileName() {
  if (!overriddenSettingsFileName().empty()) return overriddenSettingsFileName();
  const QString directory = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  return QDir(directory).filePath("VORL.INI").toStdString();
}

void setSettingsFileName(std::string fileName) { overriddenSettingsFileName() = std::move(fileName); }

std::string sampleDirectory() { return data::bundledSampleDirectory(VORL_SAMPLE_DIR); }

std::string dataDirectory() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString(); }

std::string defaultReportFileName() {
  return data::sampleReportProject(sampleRoot(QString::fromStdString(dataDirectory())).toStdString());
}

}  // namespace vorl
