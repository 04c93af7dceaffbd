#pragma once
// The folder of the running program, for the files an installation puts beside it.
#include <filesystem>

namespace platform {

// The folder holding the running executable (links resolved); empty when the system does not say.
std::filesystem::path programDirectory();

}  // namespace platform
