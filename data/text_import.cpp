#include "data/text_import.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "db_engine/database.h"
#include "db_engine/errors.h"
#include "db_engine/schema.h"
#include "db_engine/sqlite_statement.h"
#include "db_engine/transaction.h"
#include "db_engine/value.h"

namespace data {
namespace {

namespace fs = std::filesystem;
using engine::EngineError;
using engine::FieldDef;
using engine::FieldType;
using engine::Value;

// A fault of one line; the caller adds the file and line to the message.
class LineError : public std::runtime_error {
 public:
  LineError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
  int code() const { return code_; }

 private:
  int code_;
};

std::string lowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower;
}

// Cells are separated by tabs; inside a cell \t, \n and \\ stand for tab, line break and backslash.
std::vector<std::string> splitCells(std::string_view line) {
  std::vector<std::string> cells(1);
  for (std::size_t at = 0; at < line.size(); ++at) {
    const char c = line[at];
    if (c == '\t') {
      cells.emplace_back();
    } else if (c != '\\') {
      cells.back() += c;
    } else if (at + 1 == line.size()) {
      throw LineError(engine::code::Conversion, "a backslash ends the line");
    } else {
      const char escaped = line[++at];
      if (escaped == 't') cells.back() += '\t';
      else if (escaped == 'n') cells.back() += '\n';
      else if (escaped == '\\') cells.back() += '\\';
      else throw LineError(engine::code::Conversion, std::string("unknown escape \\") + escaped);
    }
  }
  return cells;
}

[[noreturn]] void refuse(const std::string& text, const FieldDef& field, const std::string& kind) {
  throw LineError(engine::code::Conversion, "'" + text + "' is not a valid " + kind + " value for field " + field.name);
}

std::size_t characterCount(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](unsigned char c) { return (c & 0xC0) != 0x80; }));
}

Value integerValue(const std::string& text, const FieldDef& field, std::int64_t lowest, std::int64_t highest) {
  std::int64_t number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size()) refuse(text, field, "integer");
  if (number < lowest || number > highest) refuse(text, field, "integer (out of range)");
  return number;
}

Value floatValue(const std::string& text, const FieldDef& field) {
  double number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(number)) {
    refuse(text, field, "floating-point");
  }
  return number;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

Value dateValue(const std::string& text, const FieldDef& field) {
  const auto digitsAt = [&text](std::size_t from, std::size_t count) {
    return std::all_of(text.begin() + static_cast<long>(from), text.begin() + static_cast<long>(from + count),
                       [](unsigned char c) { return std::isdigit(c) != 0; });
  };
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !digitsAt(0, 4) || !digitsAt(5, 2) ||
      !digitsAt(8, 2)) {
    refuse(text, field, "date (YYYY-MM-DD)");
  }
  const int year = std::stoi(text.substr(0, 4));
  const int month = std::stoi(text.substr(5, 2));
  const int day = std::stoi(text.substr(8, 2));
  static constexpr int daysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool validMonth = month >= 1 && month <= 12;
  const int lastDay = validMonth ? daysInMonth[month - 1] + (month == 2 && isLeapYear(year) ? 1 : 0) : 0;
  if (!validMonth || day < 1 || day > lastDay) refuse(text, field, "date");
  return text;
}

Value booleanValue(const std::string& text, const FieldDef& field) {
  const std::string lower = lowerCase(text);
  if (lower == "true") return std::int64_t{1};
  if (lower == "false") return std::int64_t{0};
  refuse(text, field, "boolean (True or False)");
}

Value stringValue(const std::string& text, const FieldDef& field) {
  // Import refuses what the program would cut: text files are the data's source.
  if (field.type == FieldType::String && field.size > 0 && characterCount(text) > static_cast<std::size_t>(field.size)) {
    throw LineError(engine::code::Conversion, "value of field " + field.name + " is longer than " +
                                                  std::to_string(field.size) + " characters");
  }
  return text;
}

Value convertCell(const std::string& text, const FieldDef& field) {
  if (text.empty()) return std::monostate{};
  switch (field.type) {
    case FieldType::SmallInt:
      return integerValue(text, field, std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max());
    case FieldType::Integer:
      return integerValue(text, field, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
    case FieldType::Float:
      return floatValue(text, field);
    case FieldType::Date:
      return dateValue(text, field);
    case FieldType::Boolean:
      return booleanValue(text, field);
    default:
      return stringValue(text, field);
  }
}

// One table file being read: its path, the fields its header names and the current line number.
class TableFile {
 public:
  TableFile(fs::path path, const engine::TableSchema& table) : path_(std::move(path)), table_(table), stream_(path_) {
    if (!stream_) throw std::runtime_error("Cannot read " + path_.string());
  }

  // The next row of cells, or false at the end of the file; the first call reads the header.
  bool nextRow(std::vector<std::string>& cells) {
    std::string line;
    while (std::getline(stream_, line)) {
      ++lineNumber_;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (lineNumber_ == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
      if (line.empty() || line.front() == '#') continue;
      cells = splitCells(line);
      if (fields_.empty()) {
        readHeader(cells);
        continue;
      }
      if (cells.size() != fields_.size()) {
        throw LineError(engine::code::General, std::to_string(cells.size()) + " cells where the header names " +
                                                   std::to_string(fields_.size()) + " fields");
      }
      return true;
    }
    if (fields_.empty()) throw LineError(engine::code::General, "no header line naming the fields");
    return false;
  }

  const std::vector<const FieldDef*>& fields() const { return fields_; }
  std::string where() const { return path_.string() + ", line " + std::to_string(lineNumber_) + ": "; }

 private:
  void readHeader(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      const auto found = std::find_if(table_.fields.begin(), table_.fields.end(),
                                      [&name](const FieldDef& field) { return lowerCase(field.name) == lowerCase(name); });
      if (found == table_.fields.end()) {
        throw LineError(engine::code::FieldNotFound, "table " + table_.name + " has no field '" + name + "'");
      }
      if (std::find(fields_.begin(), fields_.end(), &*found) != fields_.end()) {
        throw LineError(engine::code::General, "field " + found->name + " is named twice");
      }
      fields_.push_back(&*found);
    }
  }

  fs::path path_;
  const engine::TableSchema& table_;
  std::ifstream stream_;
  std::vector<const FieldDef*> fields_;
  int lineNumber_ = 0;
};

std::string insertSql(const std::string& tableName, const std::vector<const FieldDef*>& fields) {
  std::string names;
  std::string markers;
  for (const FieldDef* field : fields) {
    names += (names.empty() ? "" : ", ") + engine::quoteIdentifier(field->name);
    markers += markers.empty() ? "?" : ", ?";
  }
  return "INSERT INTO " + engine::quoteIdentifier(tableName) + " (" + names + ") VALUES (" + markers + ")";
}

void importTable(engine::Database& database, const fs::path& path, const engine::TableSchema& table) {
  TableFile file(path, table);
  const std::string tableName = engine::canonicalTableName(table.name);
  engine::Statement insert;
  std::vector<std::string> cells;
  try {
    while (file.nextRow(cells)) {
      if (!insert) insert = engine::Statement(database.handle(), insertSql(tableName, file.fields()), tableName);
      for (std::size_t index = 0; index < cells.size(); ++index) {
        insert.bind(static_cast<int>(index + 1), convertCell(cells[index], *file.fields()[index]));
      }
      insert.step();
      insert.reset();
    }
  } catch (const LineError& error) {
    throw EngineError(error.code(), file.where() + error.what());
  } catch (const EngineError& error) {
    std::vector<engine::ErrorEntry> entries = error.errors();
    for (engine::ErrorEntry& entry : entries) entry.message = file.where() + entry.message;
    throw EngineError(std::move(entries));
  }
}

// The .tsv files of directory by lower-case table name.
std::map<std::string, fs::path> tableFiles(const fs::path& directory) {
  if (!fs::is_directory(directory)) throw std::runtime_error("Directory not found: " + directory.string());
  std::map<std::string, fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
    if (entry.is_regular_file() && lowerCase(entry.path().extension().string()) == ".tsv") {
      files.emplace(lowerCase(entry.path().stem().string()), entry.path());
    }
  }
  return files;
}

}  // namespace

void importTableFiles(engine::Database& database, const std::string& directory, const engine::DatabaseSchema& schema) {
  std::map<std::string, fs::path> files = tableFiles(directory);
  std::vector<std::pair<fs::path, const engine::TableSchema*>> work;
  for (const engine::TableSchema& table : schema.tables) {
    const auto file = files.find(lowerCase(engine::canonicalTableName(table.name)));
    if (file == files.end()) continue;
    work.emplace_back(file->second, &table);
    files.erase(file);
  }
  if (!files.empty()) {
    throw EngineError(engine::code::TableNotFound,
                      files.begin()->second.string() + ", line 1: database " + schema.name + " has no table '" +
                          files.begin()->second.stem().string() + "'");
  }
  if (!database.connected()) database.open();
  engine::Transaction transaction(database, engine::Transaction::Kind::Write);
  for (const auto& [path, table] : work) importTable(database, path, *table);
  transaction.commit();
}

}  // namespace data
