// Program start without windows: the short date format and the engine configuration.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/program_start.h"
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

}  // namespace
}  // namespace apptest
