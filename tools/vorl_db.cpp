// vorl_db: creates, fills and shows the program's databases.
#include <iostream>

#include "data/sample_database.h"
#include "tools/db_commands.h"

int main(int argc, char** argv) {
  const std::string sample = data::bundledSampleDirectory(VORL_SAMPLE_DIR);
  return tools::runDbTool({argv + 1, argv + argc}, sample, std::cout, std::cerr);
}
