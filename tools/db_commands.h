#pragma once
// The commands of vorl_db, apart from main() so that tests run them with their own streams.
#include <algorithm>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "data/lexicon_export.h"
#include "data/lexicon_schema.h"
#include "data/results_schema.h"
#include "data/sample_database.h"
#include "data/text_import.h"
#include "db_engine/database.h"
#include "db_engine/query.h"
#include "db_engine/session.h"
#include "db_engine/table.h"

namespace tools {

inline constexpr int kFailure = 1;
inline constexpr int kUsageError = 2;

inline constexpr std::string_view kDbUsage =
    "usage: vorl_db create <directory> lexicon|results|working\n"
    "       vorl_db import <directory> lexicon|results <text-directory> [--password P]\n"
    "       vorl_db sample <root>\n"
    "       vorl_db show <engine.ini> [--password P]\n"
    "       vorl_db export <engine.ini> <file.csv|file.json> [--country ID] [--withdrawn] [--password P]\n";

// A command line without its program name: the words, and the options of the commands that take them.
struct CommandLine {
  std::vector<std::string> words;
  std::optional<std::string> password;
  std::optional<std::string> country;  // export: one country instead of all
  bool withdrawn = false;              // export: withdrawn units as well
};

// nullopt when an option lacks its value or is given twice.
inline std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine line;
  for (std::size_t index = 0; index < arguments.size(); ++index) {
    std::optional<std::string>* option = arguments[index] == "--password" ? &line.password
                                         : arguments[index] == "--country" ? &line.country
                                                                           : nullptr;
    if (arguments[index] == "--withdrawn" && !line.withdrawn) {
      line.withdrawn = true;
    } else if (arguments[index] == "--withdrawn" || (option && (index + 1 == arguments.size() || *option))) {
      return std::nullopt;
    } else if (option) {
      *option = arguments[++index];
    } else {
      line.words.push_back(arguments[index]);
    }
  }
  return line;
}

// The schema of a database kind and the alias it is opened under.
struct DatabaseKind {
  const engine::DatabaseSchema& schema;
  std::string alias;
  bool protectedByPassword;
};

inline std::optional<DatabaseKind> databaseKind(std::string_view name) {
  if (name == "lexicon") return DatabaseKind{data::lexiconSchema(), "VORL", true};
  if (name == "results") return DatabaseKind{data::resultsSchema(), "ABResults", true};
  if (name == "working") return DatabaseKind{data::workingSchema(), "ABtmp", false};
  return std::nullopt;
}

inline void createCommand(const std::string& directory, const DatabaseKind& kind) {
  engine::createDatabase(directory, kind.schema, kind.protectedByPassword ? data::kTablePassword : "");
}

inline void importCommand(const std::string& directory, const DatabaseKind& kind, const std::string& textDirectory,
                          const std::string& password) {
  engine::Session session("Import");
  session.setAlias(kind.alias, directory);
  session.addPassword(password);
  engine::Database database(session, "Import");
  database.setAliasName(kind.alias);
  data::importTableFiles(database, textDirectory, kind.schema);
}

// Units of one country in the order of the sub-unit views, for the tree.
struct TreeUnit {
  std::string name;
  std::string rank;
  std::int64_t code;
};

class LexiconReport {
 public:
  LexiconReport(const std::string& configuration, const std::string& password) {
    if (!std::filesystem::is_regular_file(configuration)) {
      throw std::runtime_error("Configuration file not found: " + configuration);
    }
    session_.loadConfiguration(configuration);
    session_.addPassword(password);
  }

  void write(std::ostream& out) {
    engine::Table countries(session_, "CountryList");
    countries.setDatabaseName("VORL");
    countries.setTableName("CountryList.db");
    countries.open();
    out << "Database VORL: " << session_.database("VORL").directory() << "\n";
    out << updateNote() << "\n\nCountries\n";
    for (countries.first(); !countries.eof(); countries.next()) writeCountry(out, countries);
    if (countries.isEmpty()) return;
    countries.first();
    const std::string id = countries.fieldByName("CountryID").asString();
    out << "\nUnit hierarchy of " << id << " " << countries.fieldByName("CountryName").asString() << "\n";
    writeTree(out, id);
  }

 private:
  std::string updateNote() {
    engine::Table when(session_, "WhenUpdated");
    when.setDatabaseName("VORL");
    when.setTableName("VORLWhen.db");
    when.open();
    return when.isEmpty() ? "(no data-update note)" : when.fieldByName("Comment").asString();
  }

  engine::Query& query(std::vector<std::string> sql, const std::string& countryId) {
    query_ = std::make_unique<engine::Query>(session_, "Report");
    query_->setDatabaseName("VORL");
    query_->setSql(std::move(sql));
    query_->paramByName("CountryID").value = countryId;
    query_->open();
    return *query_;
  }

  void writeCountry(std::ostream& out, engine::Dataset& countries) {
    const std::string id = countries.fieldByName("CountryID").asString();
    engine::Query& counts = query({"select count(*) as Units,",
                                   "sum(case when Years >= 4600000000 then 1 else 0 end) as Withdrawn",
                                   "from vorllist where CountryID = :CountryID"},
                                  id);
    out << "  " << id << "  " << countries.fieldByName("CountryName").asString() << ": "
        << counts.fieldByName("Units").asInteger() << " units";
    if (const auto withdrawn = counts.fieldByName("Withdrawn").asInteger()) out << " (" << withdrawn << " withdrawn)";
    out << "\n";
  }

  void writeTree(std::ostream& out, const std::string& countryId) {
    engine::Query& units = query({"select Code, Name, Rank, LParent from vorllist",
                                  "where CountryID = :CountryID and (Years < 4600000000 or Years is null)",
                                  "order by LParent, Name, Code"},
                                 countryId);
    std::map<std::int64_t, std::vector<TreeUnit>> children;
    std::set<std::int64_t> codes;
    for (units.first(); !units.eof(); units.next()) {
      const std::int64_t code = units.fieldByName("Code").asInteger();
      codes.insert(code);
      children[units.fieldByName("LParent").asInteger()].push_back(
          {units.fieldByName("Name").asString(), units.fieldByName("Rank").asString(), code});
    }
    std::set<std::int64_t> shown;
    for (const auto& [parent, siblings] : children) {
      if (parent != 0 && codes.contains(parent)) continue;  // printed under its parent
      for (const TreeUnit& unit : siblings) writeBranch(out, unit, children, shown, 1);
    }
  }

  static void writeBranch(std::ostream& out, const TreeUnit& unit,
                          const std::map<std::int64_t, std::vector<TreeUnit>>& children, std::set<std::int64_t>& shown,
                          int depth) {
    if (!shown.insert(unit.code).second) return;  // a unit listed as its own ancestor
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << unit.name << " (" << unit.rank << ", " << unit.code
        << ")\n";
    const auto found = children.find(unit.code);
    if (found == children.end()) return;
    for (const TreeUnit& child : found->second) writeBranch(out, child, children, shown, depth + 1);
  }

  engine::Session session_{"Report"};
  std::unique_ptr<engine::Query> query_;
};

// Writes the units of the lexicon that configuration names to file, as its extension says.
inline void exportCommand(const std::string& configuration, const std::string& file, const CommandLine& line,
                          const std::string& password, std::ostream& out) {
  if (!std::filesystem::is_regular_file(configuration)) {
    throw std::runtime_error("Configuration file not found: " + configuration);
  }
  engine::Session session("Export");
  session.loadConfiguration(configuration);
  session.addPassword(password);
  const data::ExportSummary summary =
      data::exportLexicon(session.database("VORL"), {line.country, line.withdrawn}, file);
  out << "Exported " << summary.units << " units of " << (line.country ? *line.country : "every country") << " to "
      << file << "\n";
}

inline std::string oneLine(std::string text) {
  std::replace(text.begin(), text.end(), '\n', ' ');
  return text;
}

// Runs one command; returns the exit code (0, kFailure with a one-line error, kUsageError).
inline int runDbTool(const std::vector<std::string>& arguments, const std::string& sampleDirectory, std::ostream& out,
                     std::ostream& err) {
  const std::optional<CommandLine> line = parseCommandLine(arguments);
  const std::vector<std::string> words = line ? line->words : std::vector<std::string>{};
  const std::string command = words.empty() ? "" : words.front();
  const bool takesPassword = command == "import" || command == "show" || command == "export";
  const bool takesExportOptions = command == "export" || (line && !line->country && !line->withdrawn);
  const std::optional<DatabaseKind> kind = words.size() > 2 ? databaseKind(words[2]) : std::nullopt;
  const bool valid = line && (takesPassword || !line->password) && takesExportOptions &&
                     ((command == "create" && words.size() == 3 && kind) ||
                      (command == "export" && words.size() == 3 && data::exportFormatOf(words[2])) ||
                      (command == "import" && words.size() == 4 && kind && words[2] != "working") ||
                      ((command == "sample" || command == "show") && words.size() == 2));
  if (!valid) {
    err << kDbUsage;
    return kUsageError;
  }
  const std::string password = line->password.value_or(data::kTablePassword);
  try {
    if (command == "create") createCommand(words[1], *kind);
    if (command == "import") importCommand(words[1], *kind, words[3], password);
    if (command == "sample") out << "Engine configuration: " << data::createSampleDatabases(words[1], sampleDirectory) << "\n";
    if (command == "show") LexiconReport(words[1], password).write(out);
    if (command == "export") exportCommand(words[1], words[2], *line, password, out);
  } catch (const std::exception& error) {
    err << "vorl_db: " << oneLine(error.what()) << "\n";
    return kFailure;
  }
  return 0;
}

}  // namespace tools
