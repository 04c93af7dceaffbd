#pragma once
// The lexicon database (alias VORL): the unit table and its lookup and detail tables.
#include "db_engine/schema.h"

namespace data {

const engine::DatabaseSchema& lexiconSchema();

}  // namespace data
