// Program start without windows: the short date format and the engine configuration.
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app/program_start.h"
#include "app/vorl_varb.h"
#include "app_test_support.h"
#include "db_engine/session.h"

namespace apptest {
namespace {

TEST(ShortDateFormat, AlwaysHasAFourDigitYearInTheLocalesOrder) {
  EXPECT_EQ(vorl::shortDateFormatFor(QLocale(QLocale::English, QLocale::UnitedStates)), "M/d/yyyy");
  EXPECT_EQ(vorl::shortDateFormatFor(QLocale(QLocale::German, QLocale::Germany)), "dd.MM.yyyy");
  EXPECT_EQ(vorl::shortDateFormatFor(QLocale(QLocale::English, QLocale::SouthAfrica)), "yyyy/MM/dd");
  EXPECT_EQ(vorl::shortDateFormatFor(QLocale::c()), "d MM yyyy");  // "d MMM yyyy": month names become numbers
}

TEST(EngineConfiguration, TheSampleIsCreatedOnceAndItsConfigurationCopied) {
  ensureApplication();
  QTemporaryDir directory;
  const QString config = directory.filePath("config");
  const std::string file =
      vorl::prepareEngineConfiguration(config, directory.filePath("data"), VORL_SAMPLE_DIR);
  EXPECT_EQ(file, QDir(config).filePath("engine.ini").toStdString());
  engine::Session session;
  session.loadConfiguration(file);
  ASSERT_TRUE(session.aliasDirectory("VORL").has_value());
  EXPECT_TRUE(QString::fromStdString(*session.aliasDirectory("VORL")).startsWith(directory.filePath("data/sample")));

  // An existing configuration is left as it is.
  QFile::remove(QString::fromStdString(file));
  engine::Session::writeConfiguration(file, {{"VORL", "/elsewhere"}});
  vorl::prepareEngineConfiguration(config, directory.filePath("data"), VORL_SAMPLE_DIR);
  engine::Session reread;
  reread.loadConfiguration(file);
  EXPECT_EQ(reread.aliasDirectory("VORL"), "/elsewhere");
}

// As the program starts with no settings file: the sample is made in the program's data directory,
// and "Report file" defaults to the copy of the bundled report project made beside it.
TEST(EngineConfiguration, TheDefaultReportFileIsTheSamplesCopyOfTheBundledProject) {
  ensureApplication();
  QTemporaryDir directory;
  const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
  qputenv("XDG_DATA_HOME", directory.filePath("data").toUtf8());
  const QString dataDirectory = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  vorl::prepareEngineConfiguration(directory.filePath("config"), dataDirectory, VORL_SAMPLE_DIR);
  const QString reportFile = QString::fromStdString(vorl::defaultReportFileName());
  qputenv("XDG_DATA_HOME", dataHome);

  EXPECT_TRUE(reportFile.startsWith(dataDirectory + "/")) << reportFile.toStdString();
  QFile copy(reportFile);
  QFile bundled(QStringLiteral(VORL_SAMPLE_DIR "/reports/VORL.rpd"));
  ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
  ASSERT_TRUE(bundled.open(QIODevice::ReadOnly));
  EXPECT_EQ(copy.readAll(), bundled.readAll());
}

}  // namespace
}  // namespace apptest
