#include "data/sample_database.h"

#include <filesystem>
#include <map>

#include "data/lexicon_schema.h"
#include "data/results_schema.h"
#include "data/text_import.h"
#include "db_engine/database.h"
#include "db_engine/session.h"
#include "platform/program_directory.h"

namespace data {
namespace {

namespace fs = std::filesystem;

void removeDatabaseFile(const fs::path& directory) {
  const fs::path file = directory / engine::kDatabaseFileName;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) fs::remove(file.string() + suffix);
}

void createFresh(const std::string& directory, const engine::DatabaseSchema& schema, const std::string& password) {
  fs::create_directories(directory);
  removeDatabaseFile(directory);
  engine::createDatabase(directory, schema, password);
}

void importInto(const std::string& databaseDirectory, const fs::path& textDirectory,
                const engine::DatabaseSchema& schema) {
  if (!fs::is_directory(textDirectory)) return;
  engine::Session session("Import");
  session.setAlias(schema.name, databaseDirectory);
  session.addPassword(kTablePassword);
  engine::Database database(session, "Import" + schema.name);
  database.setAliasName(schema.name);
  importTableFiles(database, textDirectory.string(), schema);
}

}  // namespace

DatabaseLayout databaseLayout(const std::string& root) {
  const fs::path base = fs::absolute(root);
  return {(base / "VORL").string(), (base / "ABResults").string(), (base / "ABtmp").string()};
}

DatabaseLayout createEmptyDatabases(const std::string& root) {
  fs::remove(fs::absolute(root) / kEngineConfigurationName);
  const DatabaseLayout layout = databaseLayout(root);
  createFresh(layout.lexicon, lexiconSchema(), kTablePassword);
  createFresh(layout.results, resultsSchema(), kTablePassword);
  createFresh(layout.working, workingSchema(), "");
  return layout;
}

std::string writeEngineConfiguration(const std::string& root) {
  const DatabaseLayout layout = databaseLayout(root);
  const std::string file = (fs::absolute(root) / kEngineConfigurationName).string();
  const std::map<std::string, std::string> aliases = {
      {"VORL", layout.lexicon}, {"ABResults", layout.results}, {"ABtmp", layout.working}, {"ABtmp0", layout.working}};
  engine::Session::writeConfiguration(file, aliases);
  return file;
}

std::string sampleReportProject(const std::string& root) { return (fs::absolute(root) / kReportProjectName).string(); }

std::string createSampleDatabases(const std::string& root, const std::string& sampleDirectory) {
  const DatabaseLayout layout = createEmptyDatabases(root);
  importInto(layout.lexicon, fs::path(sampleDirectory) / "lexicon", lexiconSchema());
  importInto(layout.results, fs::path(sampleDirectory) / "results", resultsSchema());
  const fs::path bundledProject = fs::path(sampleDirectory) / "reports" / kReportProjectName;
  if (fs::exists(bundledProject)) {
    fs::copy_file(bundledProject, sampleReportProject(root), fs::copy_options::overwrite_existing);
  }
  return writeEngineConfiguration(root);
}

std::string bundledSampleDirectory(const std::string& buildSample) {
  const fs::path program = platform::programDirectory();
  if (program.empty()) return buildSample;
  const fs::path installed = (program / VORL_INSTALLED_SAMPLE_DIR).lexically_normal();
  return fs::is_directory(installed) ? installed.string() : buildSample;
}

}  // namespace data
