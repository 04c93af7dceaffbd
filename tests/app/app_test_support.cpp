#include "app_test_support.h"

#include <sqlite3.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTest>

#include "app/page_control.h"
#include "app/vorl_varb.h"
#include "data/lexicon_schema.h"
#include "data/results_schema.h"
#include "data/sample_database.h"
#include "db_engine/database.h"
#include "db_engine/table.h"

namespace apptest {

void ensureApplication() {
  if (QApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "test_app";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);  // lives for the whole test program
}

void ScriptedDialogs::message(QWidget*, ui::MessageKind kind, const QString& caption, const QString& text) {
  messages.push_back({kind, caption, text});
}

int ScriptedDialogs::exec(QDialog& dialog) {
  shownDialogs.push_back(dialog.objectName());
  return answer(dialog);
}

std::function<int(QDialog&)> typePassword(const QString& text, int result) {
  return [text, result](QDialog& dialog) {
    auto* box = dialog.findChild<QLineEdit*>("eEditPassword");
    if (!box) return int(QDialog::Rejected);
    box->setText(text);
    return result;
  };
}

void appendRows(engine::Session& session, const std::string& database, const std::string& table,
                const std::vector<std::string>& fields, const Rows& rows) {
  engine::Table target(session, "filler");
  target.setDatabaseName(database);
  target.setTableName(table);
  target.open();
  for (const auto& row : rows) {
    target.append();
    for (std::size_t index = 0; index < fields.size(); ++index)
      if (!row.at(index).empty()) target.fieldByName(fields[index]).setAsString(row[index]);
    target.post();
  }
  target.close();
}

namespace {

std::string writeConfiguration(const QString& root, const QString& lexicon, const QString& results,
                               const QString& working) {
  const std::string configuration = QDir(root).filePath("engine.ini").toStdString();
  engine::Session::writeConfiguration(configuration, {{"VORL", lexicon.toStdString()},
                                                      {"ABResults", results.toStdString()},
                                                      {"ABtmp", working.toStdString()},
                                                      {"ABtmp0", working.toStdString()}});
  return configuration;
}

const std::string& sharedSampleConfiguration() {
  static QTemporaryDir master;
  static const std::string configuration =
      data::createSampleDatabases(master.filePath("sample").toStdString(), VORL_SAMPLE_DIR);
  return configuration;
}

}  // namespace

std::string createDatabases(const QString& root, const std::function<void(engine::Session&)>& fill) {
  const QString lexicon = QDir(root).filePath("VORL");
  const QString results = QDir(root).filePath("ABResults");
  const QString working = QDir(root).filePath("ABtmp");
  for (const QString& folder : {lexicon, results, working}) QDir().mkpath(folder);
  engine::createDatabase(lexicon.toStdString(), data::lexiconSchema(), "pluvek");
  engine::createDatabase(results.toStdString(), data::resultsSchema(), "pluvek");
  engine::createDatabase(working.toStdString(), data::workingSchema(), "");
  const std::string configuration = writeConfiguration(root, lexicon, results, working);
  engine::Session filler("Filler");
  filler.loadConfiguration(configuration);
  filler.addPassword("pluvek");
  if (fill) fill(filler);
  return configuration;
}

// ZA: Karoo Supergroup > Dwyka Group > Elandsvlei, Mbizane; > Ecca Group > Collingham >
// Matjiesfontein Chert Bed; Ecca Series (withdrawn); Aranos Formation (NA) under Karoo;
// Kalkrand Formation (ZA) under Nama Group (NA) > Kuibis Subgroup; Ghanzi Group (BW).
void fillSmallLexicon(engine::Session& session, bool withSouthAfrica) {
  Rows countries = {{"NA", "Namibia"}, {"BW", "Botswana"}};
  if (withSouthAfrica) countries.insert(countries.begin(), {"ZA", "South Africa"});
  appendRows(session, "VORL", "CountryList.db", {"CountryID", "CountryName"}, countries);
  appendRows(session, "VORL", "Rank.DB", {"RankAbr", "Rank"},
             {{"SGp", "Supergroup"}, {"Gp", "Group"}, {"SubGp", "Subgroup"}, {"Fm", "Formation"}, {"Bed", "Bed"}});
  appendRows(session, "VORL", "VORLSTAT.DB", {"Status", "Code"}, {{"Formal", "F"}, {"Obsolete", "O"}});
  appendRows(session, "VORL", "CHRONO.DB", {"CODE", "UNIT", "RANK", "PARENT", "CPARENT"},
             {{"1", "Phanerozoic", "Eon", "0", "0"}, {"2", "Permian", "Period", "1", "1"}});
  appendRows(session, "VORL", "VORLWhen.db", {"Comment"}, {{"Data last updated: 1 May 2025"}});
  appendRows(session, "VORL", "AreaList.db", {"AreaID", "AreaName"},
             {{"1", "Main Karoo Basin"}, {"2", "Western Cape"}, {"3", "Southern Namibia"}});
  const std::vector<std::string> fields = {"Years", "Code", "Name", "Rank", "LParent", "CParent", "Status",
                                           "CountryID", "AgeMinimum", "AgeMaximum", "AgeUnits"};
  Rows units = {{"545000000", "200", "Nama Group", "Gp", "0", "1", "F", "NA", "", "", ""},
                {"548000000", "210", "Kuibis Subgroup", "SubGp", "200", "1", "F", "NA", "", "", ""},
                {"1000000000", "300", "Ghanzi Group", "Gp", "0", "1", "F", "BW", "", "", ""}};
  if (withSouthAfrica) {
    const Rows southAfrica = {
        {"300000000", "100", "Karoo Supergroup", "SGp", "0", "1", "F", "ZA", "180", "300", "Ma"},
        {"290000000", "110", "Dwyka Group", "Gp", "100", "2", "F", "ZA", "290", "300", "Ma"},
        {"295000000", "111", "Elandsvlei Formation", "Fm", "110", "2", "F", "ZA", "", "", ""},
        {"292000000", "112", "Mbizane Formation", "Fm", "110", "2", "F", "ZA", "", "", ""},
        {"270000000", "120", "Ecca Group", "Gp", "100", "2", "F", "ZA", "", "", ""},
        {"268000000", "121", "Collingham Formation", "Fm", "120", "2", "F", "ZA", "", "", ""},
        {"267000000", "1211", "Matjiesfontein Chert Bed", "Bed", "121", "2", "F", "ZA", "", "", ""},
        {"4600000000", "130", "Ecca Series", "Gp", "100", "2", "O", "ZA", "", "", ""},
        {"280000000", "150", "Aranos Formation", "Fm", "100", "2", "F", "NA", "", "", ""},
        {"541000000", "220", "Kalkrand Formation", "Fm", "200", "1", "F", "ZA", "", "", ""}};
    units.insert(units.end(), southAfrica.begin(), southAfrica.end());
  }
  appendRows(session, "VORL", "VORLLIST.DB", fields, units);
  if (!withSouthAfrica) return;
  appendRows(session, "VORL", "CodeArea.DB", {"Code", "Area"},
             {{"110", "1"}, {"120", "1"}, {"130", "1"}, {"150", "2"}, {"110", "2"}, {"111", "1"}});
  appendRows(session, "VORL", "SynonList.DB", {"SynonymName", "SynonymRank", "Code"},
             {{"Dwyka Tillite", "Fm", "110"}, {"Dwyka Series", "Series", "110"}});
  appendRows(session, "VORL", "Synonyms.db", {"Code", "Synonym"}, {{"110", "111"}});
  appendRows(session, "VORL", "Correlatives.db", {"Code", "Correlative"}, {{"110", "210"}});
}

// Results of Elandsvlei Formation (111): three that the tab lists (regressions 7, 2, 1 in that
// order) and one for each of its filters; one result of Dwyka Group (110).
void fillSmallResults(engine::Session& session) {
  appendRows(session, "ABResults", "Country.db", {"CountryAbr", "Country"}, {{"ZA", "South Africa"}});
  appendRows(session, "ABResults", "Suite.DB", {"UnitName", "UnitRank", "CountryAbr", "GISID"},
             {{"Elandsvlei Formation", "Fm", "ZA", "111"}, {"Dwyka Group", "Gp", "ZA", "110"}});
  appendRows(session, "ABResults", "Interpretation.db", {"InterpAbr", "Interpretation"},
             {{"Empl", "Emplacement"}, {"Extr", "Extrusion"}, {"Depos", "Deposition"}, {"Meta", "Metamorphism"}});
  appendRows(session, "ABResults", "Method.DB", {"MethodAbr", "Method"}, {{"R", "Regression"}, {"M", "Model"}});
  appendRows(session, "ABResults", "IsoSystem.DB", {"IsoSystem", "IsoSystemName"}, {{"UPb", "U-Pb"}, {"ArAr", "Ar-Ar"}});
  appendRows(session, "ABResults", "Material.DB", {"MaterialAbr", "MaterialDescription"},
             {{"Zr", "zircon"}, {"WR", "whole rock"}});
  appendRows(session, "ABResults", "Approach.DB", {"ApproachAbr", "ApproachDescription"},
             {{"Spot", "spot analysis"}, {"Conv", "conventional"}});
  appendRows(session, "ABResults", "Technique.DB", {"TechAbr", "Technique"}, {{"SHR", "SHRIMP"}, {"TIMS", "ID-TIMS"}});
  appendRows(session, "ABResults", "Lithol.DB", {"Lithology"}, {{"tuff"}, {"tillite"}});
  const std::vector<std::string> fields = {"RegressionNumber", "CountryAbr", "UnitName",   "MaterialAbr",
                                           "IsotopeSystem",    "ApproachAbr", "TechAbr",   "InterpAbr",
                                           "PrefLevel",        "Age",         "AgePError", "AgeMError",
                                           "MethodAbr",        "Confidential", "Lithology"};
  const std::string unit = "Elandsvlei Formation";
  appendRows(session, "ABResults", "IsoRgr20.DB", fields,
             {{"1", "ZA", unit, "Zr", "UPb", "Spot", "SHR", "Depos", "2", "1234.5", "1.2", "0.056", "R", "0", "tuff"},
              {"2", "ZA", unit, "Zr", "UPb", "Spot", "SHR", "Depos", "1", "300", "2", "2", "R", "0", "tuff"},
              {"3", "ZA", unit, "Zr", "UPb", "Spot", "SHR", "Depos", "1", "301", "2", "2", "M", "0", "tuff"},
              {"4", "ZA", unit, "Zr", "UPb", "Spot", "SHR", "Depos", "0", "302", "2", "2", "R", "0", "tuff"},
              {"5", "ZA", unit, "Zr", "UPb", "Spot", "SHR", "Depos", "1", "303", "2", "2", "R", "1", "tuff"},
              {"6", "ZA", unit, "Zr", "UPb", "Spot", "SHR", "Meta", "1", "304", "2", "2", "R", "0", "tuff"},
              {"7", "ZA", unit, "WR", "ArAr", "Conv", "TIMS", "Extr", "1", "290.25", "3", "3", "R", "0", "tuff"},
              {"8", "ZA", "Dwyka Group", "Zr", "UPb", "Spot", "SHR", "Depos", "1", "296", "1", "1", "R", "0",
               "tillite"}});
}

std::string copySampleDatabases(const QString& root) {
  engine::Session reader("Reader");
  reader.loadConfiguration(sharedSampleConfiguration());
  QString copies[3];
  const char* aliases[] = {"VORL", "ABResults", "ABtmp"};
  for (int index = 0; index < 3; ++index) {
    const QString source = QString::fromStdString(reader.aliasDirectory(aliases[index]).value());
    copies[index] = QDir(root).filePath(aliases[index]);
    QDir().mkpath(copies[index]);
    QFile::copy(QDir(source).filePath(engine::kDatabaseFileName), QDir(copies[index]).filePath(engine::kDatabaseFileName));
  }
  return writeConfiguration(root, copies[0], copies[1], copies[2]);
}

void executeOn(const std::string& configuration, const std::string& alias, const std::string& sql) {
  engine::Session reader("Reader");
  reader.loadConfiguration(configuration);
  const QString file = QDir(QString::fromStdString(reader.aliasDirectory(alias).value())).filePath(engine::kDatabaseFileName);
  sqlite3* handle = nullptr;
  ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &handle), SQLITE_OK);
  char* error = nullptr;
  const int result = sqlite3_exec(handle, sql.c_str(), nullptr, nullptr, &error);
  const std::string message = error ? error : "";
  sqlite3_free(error);
  sqlite3_close(handle);
  ASSERT_EQ(result, SQLITE_OK) << message;
}

void MainWindowTest::SetUp() {
  ensureApplication();
  ASSERT_TRUE(directory.isValid());
  vorl::setSettingsFileName(directory.filePath("VORL.INI").toStdString());
  ReportFileName.clear();
  AmbrellLink = false;
  SequenceLink = false;
  dialogs = ScriptedDialogs();
  ui::setDialogs(&dialogs);
}

void MainWindowTest::TearDown() {
  window.reset();  // its controls follow the modules' data sources
  dmUnitDated.reset();
  dmABResults.reset();
  fmGetEditPassword.reset();
  dmVORL.reset();
  session.reset();
  ui::setDialogs(nullptr);
  vorl::setSettingsFileName({});
}

void MainWindowTest::writeSettingsFile(const std::string& text) {
  QFile file(directory.filePath("VORL.INI"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text.c_str());
}

std::string MainWindowTest::readSettingsFile() const {
  QFile file(directory.filePath("VORL.INI"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll().toStdString();
}

std::string MainWindowTest::smallDatabases() {
  static int created = 0;  // each call gets databases of its own
  return createDatabases(directory.filePath(QString("db%1").arg(++created)), [](engine::Session& filler) {
    fillSmallLexicon(filler);
    fillSmallResults(filler);
  });
}

void MainWindowTest::createProgram(const std::string& configuration) {
  session = std::make_unique<engine::Session>();
  session->loadConfiguration(configuration);
  window = std::make_unique<TfmVORL1>();
  dmVORL = std::make_unique<data::TdmVORL>(*session);
  fmGetEditPassword = std::make_unique<TfmGetEditPassword>();
  dmABResults = std::make_unique<data::TdmABResults>(*session);
  dmUnitDated = std::make_unique<data::TdmUnitDated>(*session);
  auto warn = [this](const std::string& text) { ui::showWarning(window.get(), QString::fromStdString(text)); };
  dmABResults->showWarning = warn;
  dmUnitDated->showWarning = warn;
  window->bindDataModules({*dmVORL, *fmGetEditPassword, *dmUnitDated});
}

void MainWindowTest::showWindow() { window->show(); }

vorl::PageControl& MainWindowTest::outerTabs() const { return *window->findChild<vorl::PageControl*>("PageControl2"); }

vorl::PageControl& MainWindowTest::innerTabs() const { return *window->findChild<vorl::PageControl*>("PageControl1"); }

void MainWindowTest::showTab(const char* name) {
  for (vorl::PageControl* tabs : {&outerTabs(), &innerTabs()}) {
    if (auto* page = tabs->findChild<QWidget*>(name); page && page->parentWidget()->parentWidget() == tabs) {
      ASSERT_TRUE(tabs->tabRect(page).isValid()) << name << " has no tab";
      QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(page).center());
      ASSERT_EQ(tabs->currentPage(), page) << name;
      return;
    }
  }
  FAIL() << "no tab " << name;
}

int MainWindowTest::currentCode() const {
  return static_cast<int>(dmVORL->VORLList.fieldByName("Code").asInteger());
}

std::vector<QString> MainWindowTest::messageTexts() const {
  std::vector<QString> texts;
  for (const auto& message : dialogs.messages) texts.push_back(message.text);
  return texts;
}

}  // namespace apptest
