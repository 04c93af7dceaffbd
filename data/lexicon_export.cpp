#include "data/lexicon_export.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

namespace data {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void unableToWrite(const fs::path& file) {
  throw std::runtime_error("Unable to write to " + file.string());
}

// A file written under a temporary name in the target's folder (so that the final rename stays on
// one file system and replaces the target in one step); removed unless committed.
class ReplacementFile {
 public:
  explicit ReplacementFile(fs::path target) : target_(std::move(target)) {
    std::error_code error;
    const auto status = fs::status(target_, error);
    // An existing file that refuses to be opened for writing is not replaced behind its back.
    if (fs::exists(status) && (fs::is_directory(status) || !std::ofstream(target_, std::ios::app))) unableToWrite(target_);
    stream_.rdbuf()->pubsetbuf(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    std::random_device random;
    temporary_ = target_;
    temporary_ += ".export-" + std::to_string(random()) + ".tmp";
    stream_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!stream_) unableToWrite(target_);
    if (fs::exists(status)) fs::permissions(temporary_, status.permissions(), error);
  }
  ~ReplacementFile() {
    if (committed_) return;
    stream_.close();
    std::error_code ignored;
    fs::remove(temporary_, ignored);
  }
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  std::ostream& stream() { return stream_; }

  void commit() {
    stream_.close();
    if (!stream_) unableToWrite(target_);
    std::error_code error;
    fs::rename(temporary_, target_, error);
    if (error) unableToWrite(target_);
    committed_ = true;
  }

 private:
  fs::path target_;
  fs::path temporary_;
  std::vector<char> buffer_ = std::vector<char>(1 << 20);
  std::ofstream stream_;
  bool committed_ = false;
};

}  // namespace

std::optional<ExportFormat> exportFormatOf(std::string_view fileName) {
  std::string extension = fs::path(fileName).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char character) { return static_cast<char>(std::tolower(character)); });
  if (extension == ".csv") return ExportFormat::Csv;
  if (extension == ".json") return ExportFormat::Json;
  return std::nullopt;
}

ExportSummary exportLexicon(engine::Database& lexicon, const ExportChoice& choice, const std::string& fileName,
                            const ExportProgress& progress) {
  const auto format = exportFormatOf(fileName);
  if (!format) throw std::invalid_argument("Export writes .csv and .json files, not " + fileName);
  ReplacementFile file(fileName);  // an unwritable file fails before the lexicon is read
  const ExportedLexicon units = readExportedUnits(lexicon, choice);
  const bool written = *format == ExportFormat::Csv ? writeCsv(file.stream(), units, progress)
                                                     : writeJson(file.stream(), units, progress);
  if (!written) return {ExportOutcome::Cancelled, units.units.size()};
  file.commit();
  return {ExportOutcome::Written, units.units.size()};
}

}  // namespace data
