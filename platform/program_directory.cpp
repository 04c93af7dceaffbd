#include "platform/program_directory.h"

#include <system_error>

namespace platform {

std::filesystem::path programDirectory() {
  std::error_code error;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : executable.parent_path();
}

}  // namespace platform
