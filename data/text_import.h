#pragma once
// Table data kept as readable text: one tab-separated file per table, named after the table
// (VORLLIST.tsv), described in docs/data-files.md.
#include <string>

namespace engine {
class Database;
struct DatabaseSchema;
}  // namespace engine

namespace data {

// Loads every <table>.tsv file of directory into the matching table of schema, in the schema's
// table order (masters before the rules that name them), in one transaction: either every row is
// stored or none. Connects the database when it is not connected yet.
// Raises std::runtime_error for a missing directory or an unreadable file, and an error naming the
// file and line for an unknown table or field, a malformed line, a value that does not convert
// (EngineError Conversion) and a row the database refuses (EngineError with the engine's code).
void importTableFiles(engine::Database& database, const std::string& directory, const engine::DatabaseSchema& schema);

}  // namespace data
