#pragma once
// The dating results database (alias ABResults) and the working database that the aliases ABtmp
// and ABtmp0 share.
#include "db_engine/schema.h"

namespace data {

const engine::DatabaseSchema& resultsSchema();
const engine::DatabaseSchema& workingSchema();

}  // namespace data
