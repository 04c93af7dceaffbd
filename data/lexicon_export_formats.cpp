#include "data/lexicon_export_formats.h"

#include <cmath>
#include <cstdio>
#include <utility>

#include "db_engine/value_text.h"

namespace data {
namespace {

constexpr std::size_t kBatch = 1000;  // units between two calls of the progress

bool isNumeric(engine::FieldType type) {
  return type == engine::FieldType::Integer || type == engine::FieldType::SmallInt || type == engine::FieldType::Float;
}

// A boolean is stored as 0 or 1; other fields keep their stored text or number.
std::string plainText(const engine::Value& value, engine::FieldType type) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* integer = std::get_if<std::int64_t>(&value)) {
    if (type == engine::FieldType::Boolean) return *integer != 0 ? "True" : "False";
    return std::to_string(*integer);
  }
  if (const auto* number = std::get_if<double>(&value)) return engine::shortestNumber(*number);
  return {};
}

// Runs write for each unit and reports progress after every batch and at the end.
template <typename Write>
bool eachUnit(std::ostream& out, const ExportedLexicon& lexicon, const ExportProgress& progress, Write write) {
  std::string buffer;
  const std::size_t total = lexicon.units.size();
  for (std::size_t index = 0; index < total; ++index) {
    write(buffer, lexicon.units[index], index);
    const std::size_t written = index + 1;
    if (written % kBatch == 0 || written == total) {
      out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
      buffer.clear();
      if (progress && !progress(written, total)) return false;
    }
  }
  return true;
}

// --- CSV ---

template <typename Items, typename NameOf>
std::string joined(const Items& items, NameOf nameOf, const char* separator) {
  std::string text;
  for (const auto& item : items) {
    if (!text.empty()) text += separator;
    text += nameOf(item);
  }
  return text;
}

std::string referenceName(const UnitReference& unit) { return unit.name.value_or(std::to_string(unit.code)); }

void appendCsvUnit(std::string& out, const ExportedLexicon& lexicon, const ExportedUnit& unit) {
  std::string line;
  for (std::size_t field = 0; field < unit.fields.size(); ++field) {
    if (field > 0) line += ',';
    line += csvField(plainText(unit.fields[field], lexicon.fields[field].type));
  }
  for (const std::string& text :
       {unit.countryName.value_or(""), unit.parent ? referenceName(*unit.parent) : std::string(),
        joined(unit.path, referenceName, kCsvPathSeparator),
        joined(unit.areas, [](const ExportedArea& area) { return area.areaName.value_or(area.areaId); },
               kCsvListSeparator),
        joined(unit.synonyms, [](const ExportedSynonym& synonym) { return synonym.name; }, kCsvListSeparator),
        joined(unit.correlatives, [](const ExportedCorrelative& correlative) { return referenceName(correlative.unit); },
               kCsvListSeparator)}) {
    line += ',';
    line += csvField(text);
  }
  out += line;
  out += "\r\n";
}

// --- JSON ---

void appendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (const char character : text) {
    switch (character) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      default:
        if (static_cast<unsigned char>(character) < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(character));
          out += escaped;
        } else {
          out += character;
        }
    }
  }
  out += '"';
}

void appendJsonText(std::string& out, const std::optional<std::string>& text) {
  if (text) appendJsonString(out, *text);
  else out += "null";
}

// Numbers as numbers, booleans as true and false, the rest as strings; an empty field is null.
void appendJsonValue(std::string& out, const engine::Value& value, engine::FieldType type) {
  const auto* integer = std::get_if<std::int64_t>(&value);
  const auto* number = std::get_if<double>(&value);
  if (type == engine::FieldType::Boolean && integer) out += *integer != 0 ? "true" : "false";
  else if (isNumeric(type) && integer) out += std::to_string(*integer);
  else if (isNumeric(type) && number) out += std::isfinite(*number) ? engine::shortestNumber(*number) : "null";
  else if (engine::isNull(value)) out += "null";
  else appendJsonString(out, plainText(value, type));
}

// Writes "name": before a member; the first member of an object opens it.
class JsonObject {
 public:
  explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
  ~JsonObject() { out_ += '}'; }
  JsonObject(const JsonObject&) = delete;
  JsonObject& operator=(const JsonObject&) = delete;

  std::string& member(std::string_view name) {
    if (std::exchange(first_, false) == false) out_ += ',';
    appendJsonString(out_, name);
    out_ += ':';
    return out_;
  }
  void text(std::string_view name, const std::optional<std::string>& value) { appendJsonText(member(name), value); }
  void code(std::string_view name, std::int64_t value) { member(name) += std::to_string(value); }

 private:
  std::string& out_;
  bool first_ = true;
};

template <typename Items, typename WriteItem>
void appendJsonArray(std::string& out, const Items& items, WriteItem writeItem) {
  out += '[';
  for (const auto& item : items) {
    if (&item != &items.front()) out += ',';
    writeItem(item);
  }
  out += ']';
}

void appendJsonReference(std::string& out, const UnitReference& unit) {
  JsonObject object(out);
  object.code("Code", unit.code);
  object.text("Name", unit.name);
}

void appendJsonUnit(std::string& out, const ExportedLexicon& lexicon, const ExportedUnit& unit) {
  JsonObject object(out);
  for (std::size_t field = 0; field < unit.fields.size(); ++field) {
    appendJsonValue(object.member(lexicon.fields[field].name), unit.fields[field], lexicon.fields[field].type);
  }
  object.text("CountryName", unit.countryName);
  if (unit.parent) appendJsonReference(object.member("Parent"), *unit.parent);
  else object.member("Parent") += "null";
  appendJsonArray(object.member("Path"), unit.path, [&](const UnitReference& step) { appendJsonReference(out, step); });
  appendJsonArray(object.member("Areas"), unit.areas, [&](const ExportedArea& area) {
    JsonObject item(out);
    item.text("AreaID", area.areaId);
    item.text("AreaName", area.areaName);
  });
  appendJsonArray(object.member("Synonyms"), unit.synonyms, [&](const ExportedSynonym& synonym) {
    JsonObject item(out);
    item.text("SynonymName", synonym.name);
    item.text("SynonymRank", synonym.rank);
  });
  appendJsonArray(object.member("SynonymUnits"), unit.synonymUnits,
                  [&](const UnitReference& synonym) { appendJsonReference(out, synonym); });
  appendJsonArray(object.member("Correlatives"), unit.correlatives, [&](const ExportedCorrelative& correlative) {
    JsonObject item(out);
    item.code("Code", correlative.unit.code);
    item.text("Name", correlative.unit.name);
    item.text("Rank", correlative.rank);
    item.text("CountryID", correlative.countryId);
    item.text("CountryName", correlative.countryName);
  });
}

}  // namespace

std::string csvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char character : text) {
    if (character == '"') quoted += '"';
    quoted += character;
  }
  return quoted + '"';
}

bool writeCsv(std::ostream& out, const ExportedLexicon& lexicon, const ExportProgress& progress) {
  std::string header;
  for (const engine::FieldDef& field : lexicon.fields) header += csvField(field.name) + ',';
  out << header << "CountryName,ParentName,Path,Areas,Synonyms,Correlatives\r\n";
  return eachUnit(out, lexicon, progress, [&](std::string& buffer, const ExportedUnit& unit, std::size_t) {
    appendCsvUnit(buffer, lexicon, unit);
  });
}

bool writeJson(std::ostream& out, const ExportedLexicon& lexicon, const ExportProgress& progress) {
  out << '[';
  const bool done = eachUnit(out, lexicon, progress, [&](std::string& buffer, const ExportedUnit& unit, std::size_t index) {
    buffer += index == 0 ? "\n" : ",\n";
    appendJsonUnit(buffer, lexicon, unit);
  });
  if (!done) return false;
  out << (lexicon.units.empty() ? "]\n" : "\n]\n");
  return true;
}

}  // namespace data
