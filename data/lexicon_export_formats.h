#pragma once
// The file formats of the lexicon export, written unit by unit so that a long export can be
// cancelled between batches. CSV follows RFC 4180: a header row, every record on one line ending
// in CR LF, fields quoted where they hold a comma, a quote or a line break. JSON is an array with
// one object per unit.
#include <cstddef>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

#include "data/lexicon_export_reader.h"

namespace data {

// Called after each batch of units with how many are written, of how many; false cancels.
using ExportProgress = std::function<bool(std::size_t written, std::size_t total)>;

// Both return false when the export was cancelled; what they wrote by then is incomplete.
bool writeCsv(std::ostream& out, const ExportedLexicon& lexicon, const ExportProgress& progress);
bool writeJson(std::ostream& out, const ExportedLexicon& lexicon, const ExportProgress& progress);

// After the fields of the unit record, a CSV record has the columns CountryName, ParentName, Path,
// Areas, Synonyms and Correlatives; the path and the lists join names with these.
inline constexpr const char* kCsvPathSeparator = " / ";
inline constexpr const char* kCsvListSeparator = "; ";

// One field as RFC 4180 writes it.
std::string csvField(std::string_view text);

}  // namespace data
