#pragma once
// The three settings shared across the program for the whole run, and where their file lives.
#include <string>

// Full path of the report definition file.
extern std::string ReportFileName;
// The link to the Ambrell geochronology database is on.
extern bool AmbrellLink;
// Maintenance mode: editing password prompt, Edit menu, developer report list.
extern bool SequenceLink;

namespace vorl {

// "VORL.INI" in the program's configuration directory, unless a test named another file.
std::string settingsFileName();
void setSettingsFileName(std::string fileName);

// The bundled sample folder: the installed one (<program dir>/../share/vorl/sample) when the
// program is installed, else the source tree's, for a run from the build tree.
std::string sampleDirectory();

// The program's data directory, where the sample is created on the first start.
std::string dataDirectory();

// "Report file" when the key is absent: the sample's copy of the bundled report project, beside
// the sample databases in the data directory.
std::string defaultReportFileName();

}  // namespace vorl
