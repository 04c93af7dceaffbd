#include "app/program_start.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

#include "data/sample_database.h"

namespace vorl {
namespace {

bool isDateLetter(QChar letter) { return letter == 'd' || letter == 'M' || letter == 'y'; }

// One run of a date letter, in the engine's tokens; empty when the run names a weekday.
QString engineToken(QChar letter, qsizetype length) {
  if (letter == 'y') return "yyyy";
  if (letter == 'M') return length >= 2 ? "MM" : "M";
  if (length >= 3) return {};
  return QString(length, letter);
}

}  // namespace

std::string shortDateFormatFor(const QLocale& locale) {
  const QString format = locale.dateFormat(QLocale::ShortFormat);
  QString result;
  bool droppedToken = false;
  for (qsizetype position = 0; position < format.size();) {
    const QChar letter = format[position];
    qsizetype length = 1;
    while (position + length < format.size() && format[position + length] == letter) ++length;
    if (isDateLetter(letter)) {
      const QString token = engineToken(letter, length);
      droppedToken = token.isEmpty();
      result += token;
    } else if (!letter.isLetter() && letter != '\'' && !droppedToken) {
      result += QString(length, letter);  // a separator, unless it followed a dropped weekday
    }
    position += length;
  }
  while (!result.isEmpty() && !isDateLetter(result.back())) result.chop(1);
  while (!result.isEmpty() && !isDateLetter(result.front())) result.remove(0, 1);
  if (!result.contains('d') || !result.contains('M') || !result.contains("yyyy")) return "yyyy-MM-dd";
  return result.toStdString();
}

QString sampleRoot(const QString& dataDirectory) { return QDir(dataDirectory).filePath("sample"); }

std::string prepareEngineConfiguration(const QString& configDirectory, const QString& dataDirectory,
                                       const std::string& sampleDirectory) {
  if (!QDir().mkpath(configDirectory))
    throw std::runtime_error("Unable to create " + configDirectory.toStdString());
  const QString configuration = QDir(configDirectory).filePath("engine.ini");
  if (QFile::exists(configuration)) return configuration.toStdString();

  const QString root = sampleRoot(dataDirectory);
  if (!QDir().mkpath(root)) throw std::runtime_error("Unable to create " + root.toStdString());
  const std::string created = data::createSampleDatabases(root.toStdString(), sampleDirectory);
  if (!QFile::copy(QString::fromStdString(created), configuration))
    throw std::runtime_error("Unable to write to " + configuration.toStdString());
  return configuration.toStdString();
}

}  // namespace vorl
