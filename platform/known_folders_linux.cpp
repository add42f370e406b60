#include "known_folders.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace platform {

std::string GetProgramFolder() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error)
    return "./";
  return exe.parent_path().string() + '/';
}

std::string GetHomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home == '/')
    return home;
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr)
    return entry->pw_dir;
  return "/";
}

} // namespace platform
