#include "platform/program_file.h"

#include <filesystem>
#include <system_error>

namespace platform {

std::string GetProgramFile() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : exe.string();
}

} // namespace platform
