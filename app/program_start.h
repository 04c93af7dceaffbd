#pragma once
// Steps of the program's start that do not need the windows: the date format and the engine
// configuration.
#include <QLocale>
#include <QString>
#include <string>

namespace vorl {

// The locale's short date format in the engine's tokens (d, dd, M, MM, yyyy), always with a
// four-digit year; month names become month numbers and weekday names are dropped.
std::string shortDateFormatFor(const QLocale& locale);

// Where the sample databases and their report project are created: dataDirectory/sample.
QString sampleRoot(const QString& dataDirectory);

// The engine configuration file "engine.ini" in configDirectory (created when missing). Where the
// file does not exist yet, the sample is created under sampleRoot(dataDirectory) from
// sampleDirectory and its configuration is copied there. Returns the file's path.
std::string prepareEngineConfiguration(const QString& configDirectory, const QString& dataDirectory,
                                       const std::string& sampleDirectory);

}  // namespace vorl
