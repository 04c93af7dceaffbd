#pragma once
// Integrity rules live in the database as named CHECK constraints and triggers whose name or
// RAISE message is a tag "vorl:<kind>:<subject>". A refusal is mapped back to its error code from
// that tag, here and nowhere else.
#include <optional>
#include <string>
#include <string_view>

namespace engine {

enum class RuleKind { Required, Minimum, Maximum, Check, Lookup, Master, Details };

struct RuleTag {
  RuleKind kind;
  std::string subject;  // the field, the rule's name or (for Details) the detail table
};

std::string ruleTag(RuleKind kind, std::string_view subject);
// Finds a tag inside an SQLite error message ("CHECK constraint failed: vorl:minimum:Years").
std::optional<RuleTag> findRuleTag(std::string_view message);

int ruleCode(RuleKind kind);
// The message of a refusal, naming the field (or rule, or detail table) and the table.
std::string ruleMessage(const RuleTag& tag, const std::string& table);

}  // namespace engine
