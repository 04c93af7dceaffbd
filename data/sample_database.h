#pragma once
// The databases a new installation starts with: the lexicon (alias VORL), the dating results
// (ABResults) and the working database shared by ABtmp and ABtmp0, side by side below one root,
// with the engine configuration file that names them.
#include <string>

namespace data {

// The table password of the lexicon and of the dating results.
inline constexpr const char* kTablePassword = "pluvek";
inline constexpr const char* kEngineConfigurationName = "engine.ini";
// The report project a new installation starts with, beside its databases.
inline constexpr const char* kReportProjectName = "VORL.rpd";

// Directories of the three databases below a root.
struct DatabaseLayout {
  std::string lexicon;  // root/VORL
  std::string results;  // root/ABResults
  std::string working;  // root/ABtmp, for the aliases ABtmp and ABtmp0
};

DatabaseLayout databaseLayout(const std::string& root);

// Creates the three databases below root, empty, from their schemas (the lexicon and the results
// guarded by kTablePassword, the working one open). Database files already there are replaced, and
// an engine configuration file already in root is removed until writeEngineConfiguration runs.
DatabaseLayout createEmptyDatabases(const std::string& root);

// Writes root/engine.ini: section "Aliases" with VORL, ABResults, ABtmp and ABtmp0 pointing at
// the absolute directories of the layout. Returns the file's path.
std::string writeEngineConfiguration(const std::string& root);

// root/VORL.rpd: where createSampleDatabases puts its copy of the bundled report project.
std::string sampleReportProject(const std::string& root);

// Creates the databases below root, fills the lexicon from sampleDirectory/lexicon and the
// results from sampleDirectory/results where those directories exist, copies the report project
// sampleDirectory/reports/VORL.rpd to sampleReportProject(root), and writes the engine
// configuration last, so that its presence means the sample is complete. Returns its path.
std::string createSampleDatabases(const std::string& root, const std::string& sampleDirectory);

// The bundled sample of the running program: the installation's, found from the program's folder
// (bin/../share/vorl/sample), where there is one; else buildSample, for a run from the build tree.
std::string bundledSampleDirectory(const std::string& buildSample);

}  // namespace data
