#pragma once
// Export of the lexicon's units to a CSV or JSON file, for the File menu's command and the database
// tool alike.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "data/lexicon_export_formats.h"
#include "data/lexicon_export_reader.h"

namespace engine {
class Database;
}

namespace data {

enum class ExportFormat { Csv, Json };
enum class ExportOutcome { Written, Cancelled };

struct ExportSummary {
  ExportOutcome outcome = ExportOutcome::Written;
  std::size_t units = 0;  // chosen for the file
};

// By the file name's extension, ".csv" or ".json" in any letter case; none for any other.
std::optional<ExportFormat> exportFormatOf(std::string_view fileName);

// Writes the chosen units of the lexicon to fileName in the format of its extension. The file is
// written under a temporary name beside it and takes its own name only when complete, so a
// cancelled or failed export leaves no partial file and an existing file as it was. Raises
// std::invalid_argument for another extension, std::runtime_error ("Unable to write to ...") when
// the file cannot be written, and the engine's error when the lexicon cannot be read.
ExportSummary exportLexicon(engine::Database& lexicon, const ExportChoice& choice, const std::string& fileName,
                            const ExportProgress& progress = {});

}  // namespace data
