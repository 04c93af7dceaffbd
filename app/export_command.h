#pragma once
// File > Export: asks which units to export and into which file, writes them as CSV or JSON by the
// file's extension with a progress dialog that can cancel, and says how many units it wrote.
#include <string>

class QString;
class QWidget;

namespace engine {
class Database;
}

// The current country is the one the main window browses (its code and its name).
void exportUnits(engine::Database& lexicon, const std::string& countryId, const QString& countryName, QWidget* parent);
