#include "db_engine/integrity_rules.h"

#include <array>
#include <utility>

#include "db_engine/sqlite_statement.h"

namespace engine {
namespace {

constexpr std::string_view kTagPrefix = "vorl:";

struct KindInfo {
  RuleKind kind;
  std::string_view name;
  int code;
  std::string_view message;
};

constexpr std::array<KindInfo, 7> kKinds{{
    {RuleKind::Required, "required", code::RequiredField, "Field value required"},
    {RuleKind::Minimum, "minimum", code::MinimumValue, "Field value below minimum"},
    {RuleKind::Maximum, "maximum", code::MaximumValue, "Field value above maximum"},
    {RuleKind::Check, "check", code::Integrity, "Integrity check failed"},
    {RuleKind::Lookup, "lookup", code::LookupValue, "Field value out of lookup table range"},
    {RuleKind::Master, "master", code::MasterMissing, "Master record missing"},
    {RuleKind::Details, "details", code::DetailsExist, "Detail records exist in table"},
}};

const KindInfo& info(RuleKind kind) {
  for (const auto& entry : kKinds) {
    if (entry.kind == kind) return entry;
  }
  return kKinds.back();
}

// "NOT NULL constraint failed: T.col" names the column after the last dot.
std::string columnOfConstraintMessage(std::string_view message) {
  const auto dot = message.rfind('.');
  return std::string(dot == std::string_view::npos ? message : message.substr(dot + 1));
}

EngineError constraintError(int extendedCode, std::string_view message, const std::string& context) {
  if (extendedCode == SQLITE_CONSTRAINT_PRIMARYKEY || extendedCode == SQLITE_CONSTRAINT_UNIQUE) {
    return EngineError(code::KeyViolation, "Key violation in table " + context);
  }
  if (const auto tag = findRuleTag(message)) {
    return EngineError(ruleCode(tag->kind), ruleMessage(*tag, context));
  }
  if (extendedCode == SQLITE_CONSTRAINT_NOTNULL) {
    return EngineError(code::RequiredField,
                       ruleMessage({RuleKind::Required, columnOfConstraintMessage(message)}, context));
  }
  return EngineError(code::Integrity, "Integrity check failed in table " + context + ": " + std::string(message));
}

}  // namespace

std::string ruleTag(RuleKind kind, std::string_view subject) {
  return std::string(kTagPrefix) + std::string(info(kind).name) + ":" + std::string(subject);
}

std::optional<RuleTag> findRuleTag(std::string_view message) {
  const auto start = message.find(kTagPrefix);
  if (start == std::string_view::npos) return std::nullopt;
  const auto rest = message.substr(start + kTagPrefix.size());
  const auto colon = rest.find(':');
  if (colon == std::string_view::npos) return std::nullopt;
  for (const auto& entry : kKinds) {
    if (rest.substr(0, colon) == entry.name) return RuleTag{entry.kind, std::string(rest.substr(colon + 1))};
  }
  return std::nullopt;
}

int ruleCode(RuleKind kind) { return info(kind).code; }

std::string ruleMessage(const RuleTag& tag, const std::string& table) {
  const std::string text(info(tag.kind).message);
  if (tag.kind == RuleKind::Details) return text + " " + tag.subject + " for a row of " + table;
  return text + ": " + tag.subject + " of " + table;
}

EngineError sqliteError(sqlite3* connection, const std::string& context) {
  const int extendedCode = sqlite3_extended_errcode(connection);
  const std::string message = sqlite3_errmsg(connection);
  switch (extendedCode & 0xff) {
    case SQLITE_CONSTRAINT:
      return constraintError(extendedCode, message, context);
    case SQLITE_NOTADB:
      return EngineError(code::NotADatabase, "Not a database: " + context);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_IOERR:
    case SQLITE_FULL:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_CORRUPT:
    case SQLITE_PERM:
      return EngineError(code::Storage, message + " (" + context + ")");
    default:
      return EngineError(code::SqlError, message + " (" + context + ")");
  }
}

}  // namespace engine
