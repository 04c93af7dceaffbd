// vorl_generate: synthetic databases of any size, for benchmarks.
#include <iostream>

#include "tools/generate_command.h"

int main(int argc, char** argv) { return tools::runGenerateTool({argv + 1, argv + argc}, std::cout, std::cerr); }
