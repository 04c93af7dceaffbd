// vorl_db: creates, fills and shows the program's databases.
#include <iostream>

#include "tools/db_commands.h"

int main(int argc, char** argv) {
  return tools::runDbTool({argv + 1, argv + argc}, VORL_SAMPLE_DIR, std::cout, std::cerr);
}
