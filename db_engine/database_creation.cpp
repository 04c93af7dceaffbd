// createDatabase: tables, keys, indexes and integrity rules of a declared schema, in one file.
#include <charconv>
#include <filesystem>
#include <set>

#include "db_engine/catalog.h"
#include "db_engine/column_types.h"
#include "db_engine/connection.h"
#include "db_engine/database.h"
#include "db_engine/integrity_rules.h"
#include "db_engine/password_hash.h"
#include "db_engine/schema.h"
#include "db_engine/sqlite_statement.h"

namespace engine {
namespace {

std::string joinQuoted(const std::vector<std::string>& names) {
  std::string list;
  for (const auto& name : names) list += (list.empty() ? "" : ", ") + quoteIdentifier(name);
  return list;
}

std::string number(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

std::string isEmpty(const std::string& row, const std::string& field) {
  const auto column = row + quoteIdentifier(field);
  return "(" + column + " IS NULL OR " + column + " = '')";
}

std::string constraint(RuleKind kind, const std::string& subject, const std::string& condition) {
  return "CONSTRAINT " + quoteIdentifier(ruleTag(kind, subject)) + " CHECK (" + condition + ")";
}

// Required fields: neither NULL nor empty text. Key fields are required as well.
std::vector<std::string> requiredConstraints(const TableSchema& table) {
  std::set<std::string> done;
  std::vector<std::string> constraints;
  const auto add = [&](const std::string& field) {
    if (!done.insert(lowerCase(field)).second) return;
    constraints.push_back(constraint(RuleKind::Required, field, "NOT " + isEmpty("", field)));
  };
  for (const auto& field : table.fields) {
    if (field.required) add(field.name);
  }
  for (const auto& field : table.primaryKey) add(field);
  return constraints;
}

std::vector<std::string> ruleConstraints(const TableSchema& table) {
  std::vector<std::string> constraints;
  for (const auto& rule : table.rules) {
    if (const auto* range = std::get_if<RangeRule>(&rule)) {
      const auto column = quoteIdentifier(range->field);
      if (range->minimum) {
        constraints.push_back(constraint(RuleKind::Minimum, range->field, column + " >= " + number(*range->minimum)));
      }
      if (range->maximum) {
        constraints.push_back(constraint(RuleKind::Maximum, range->field, column + " <= " + number(*range->maximum)));
      }
    } else if (const auto* check = std::get_if<CheckRule>(&rule)) {
      constraints.push_back(constraint(RuleKind::Check, check->name, check->expression));
    }
  }
  return constraints;
}

std::string createTableSql(const std::string& name, const TableSchema& table) {
  std::vector<std::string> parts;
  for (const auto& field : table.fields) parts.push_back(quoteIdentifier(field.name) + " " + declaredType(field));
  for (auto& part : requiredConstraints(table)) parts.push_back(std::move(part));
  for (auto& part : ruleConstraints(table)) parts.push_back(std::move(part));
  std::string sql = "CREATE TABLE IF NOT EXISTS " + quoteIdentifier(name) + " (";
  for (std::size_t index = 0; index < parts.size(); ++index) sql += (index ? ", " : "") + parts[index];
  return sql + ")";
}

std::vector<std::string> createIndexesSql(const std::string& name, const TableSchema& table) {
  std::vector<std::string> statements;
  if (!table.primaryKey.empty()) {
    statements.push_back("CREATE UNIQUE INDEX IF NOT EXISTS " + quoteIdentifier(primaryKeyIndexName(name)) + " ON " +
                         quoteIdentifier(name) + " (" + joinQuoted(table.primaryKey) + ")");
  }
  for (const auto& index : table.indexes) {
    statements.push_back(std::string("CREATE ") + (index.unique ? "UNIQUE " : "") + "INDEX IF NOT EXISTS " +
                         quoteIdentifier(physicalIndexName(name, index.name)) + " ON " + quoteIdentifier(name) +
                         " (" + joinQuoted(index.fields) + ")");
  }
  return statements;
}

std::string trigger(const std::string& name, const std::string& when, const std::string& condition,
                    const std::string& tag) {
  return "CREATE TRIGGER IF NOT EXISTS " + quoteIdentifier(name) + " " + when + " WHEN " + condition +
         " BEGIN SELECT RAISE(ABORT, " + quoteLiteral(tag) + "); END";
}

std::string matchCondition(const std::vector<std::string>& columns, const std::string& row,
                           const std::vector<std::string>& rowFields) {
  std::string condition;
  for (std::size_t index = 0; index < columns.size() && index < rowFields.size(); ++index) {
    condition += (index ? " AND " : "") + quoteIdentifier(columns[index]) + " = " + row + quoteIdentifier(rowFields[index]);
  }
  return condition;
}

std::vector<std::string> lookupTriggers(const std::string& table, const std::string& prefix, const LookupRule& rule) {
  const auto condition = "NOT " + isEmpty("NEW.", rule.field) + " AND NOT EXISTS (SELECT 1 FROM " +
                         quoteIdentifier(canonicalTableName(rule.lookupTable)) + " WHERE " +
                         matchCondition({rule.lookupField}, "NEW.", {rule.field}) + ")";
  const auto tag = ruleTag(RuleKind::Lookup, rule.field);
  const auto on = " ON " + quoteIdentifier(table);
  return {trigger(prefix + "insert", "BEFORE INSERT" + on, condition, tag),
          trigger(prefix + "update", "BEFORE UPDATE OF " + quoteIdentifier(rule.field) + on, condition, tag)};
}

std::vector<std::string> referenceTriggers(const std::string& table, const std::string& prefix,
                                           const ReferenceRule& rule) {
  const auto master = canonicalTableName(rule.masterTable);
  std::string anyLinkValue;
  for (const auto& field : rule.fields) anyLinkValue += (anyLinkValue.empty() ? "" : " OR ") + ("NOT " + isEmpty("NEW.", field));
  const auto masterMissing = "(" + anyLinkValue + ") AND NOT EXISTS (SELECT 1 FROM " + quoteIdentifier(master) +
                             " WHERE " + matchCondition(rule.masterFields, "NEW.", rule.fields) + ")";
  const auto detailsExist = "EXISTS (SELECT 1 FROM " + quoteIdentifier(table) + " WHERE " +
                            matchCondition(rule.fields, "OLD.", rule.masterFields) + ")";
  std::string keyChanged;
  for (const auto& field : rule.masterFields) {
    keyChanged += (keyChanged.empty() ? "" : " OR ") + ("NEW." + quoteIdentifier(field) + " IS NOT OLD." + quoteIdentifier(field));
  }
  const auto missingTag = ruleTag(RuleKind::Master, rule.fields.empty() ? "" : rule.fields.front());
  const auto detailsTag = ruleTag(RuleKind::Details, table);
  const auto onChild = " ON " + quoteIdentifier(table);
  const auto onMaster = " ON " + quoteIdentifier(master);
  return {
      trigger(prefix + "insert", "BEFORE INSERT" + onChild, masterMissing, missingTag),
      trigger(prefix + "update", "BEFORE UPDATE OF " + joinQuoted(rule.fields) + onChild, masterMissing, missingTag),
      trigger(prefix + "master delete", "BEFORE DELETE" + onMaster, detailsExist, detailsTag),
      trigger(prefix + "master update", "BEFORE UPDATE OF " + joinQuoted(rule.masterFields) + onMaster,
              "(" + keyChanged + ") AND " + detailsExist, detailsTag),
  };
}

std::vector<std::string> createTriggersSql(const std::string& name, const TableSchema& table) {
  std::vector<std::string> statements;
  for (std::size_t index = 0; index < table.rules.size(); ++index) {
    const auto prefix = name + "$rule" + std::to_string(index + 1) + " ";
    std::vector<std::string> triggers;
    if (const auto* lookup = std::get_if<LookupRule>(&table.rules[index])) triggers = lookupTriggers(name, prefix, *lookup);
    if (const auto* reference = std::get_if<ReferenceRule>(&table.rules[index])) {
      triggers = referenceTriggers(name, prefix, *reference);
    }
    for (auto& statement : triggers) statements.push_back(std::move(statement));
  }
  return statements;
}

void storePasswordHash(sqlite3* connection, const std::string& password, const std::string& context) {
  executeSql(connection,
             "CREATE TABLE IF NOT EXISTS " + quoteIdentifier(kMetadataTable) + " (name TEXT PRIMARY KEY, value TEXT)",
             context);
  Statement statement(connection, "INSERT OR REPLACE INTO " + quoteIdentifier(kMetadataTable) + " VALUES (?, ?)",
                      context);
  statement.bind(1, std::string(kPasswordHashKey));
  statement.bind(2, hashPassword(password));
  ResetOnExit reset(statement);
  statement.step();
}

void createSchema(sqlite3* connection, const DatabaseSchema& schema, const std::string& password) {
  const auto& context = schema.name;
  executeSql(connection, "BEGIN IMMEDIATE", context);
  try {
    std::vector<std::string> later;
    for (const auto& table : schema.tables) {
      const auto name = canonicalTableName(table.name);
      executeSql(connection, createTableSql(name, table), name);
      for (auto& statement : createIndexesSql(name, table)) later.push_back(std::move(statement));
      for (auto& statement : createTriggersSql(name, table)) later.push_back(std::move(statement));
    }
    // Triggers name other tables, so they come once every table exists.
    for (const auto& statement : later) executeSql(connection, statement, context);
    if (!password.empty()) storePasswordHash(connection, password, context);
    executeSql(connection, "COMMIT", context);
  } catch (...) {
    sqlite3_exec(connection, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

}  // namespace

void createDatabase(const std::string& directory, const DatabaseSchema& schema, const std::string& password) {
  const auto context = schema.name.empty() ? directory : schema.name;
  if (!std::filesystem::is_directory(directory)) {
    throw EngineError(code::DirectoryMissing, "Directory of database " + context + " does not exist: " + directory);
  }
  const auto path = (std::filesystem::path(directory) / kDatabaseFileName).string();
  sqlite3* connection = openConnection(path, true, context);
  try {
    createSchema(connection, schema, password);
  } catch (...) {
    closeConnection(connection);
    throw;
  }
  closeConnection(connection);
}

}  // namespace engine
