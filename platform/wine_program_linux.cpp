#include "platform/native_path.h"
#include "platform/wine_program.h"
#include "text/ascii.h"

#include <filesystem>
#include <system_error>

namespace platform {
namespace {

std::string ExistingFolder(const std::string& windows_path) {
  std::string folder = ToNativePath(windows_path);
  std::error_code error;
  if (!std::filesystem::is_directory(folder, error))
    return {};
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  return folder;
}

} // namespace

std::string WineWindowsFolder() {
  return ExistingFolder("C:\\windows");
}

std::string WineSystemFolder() {
  return ExistingFolder("C:\\windows\\system32");
}

std::string FindFileIgnoringCase(const std::string& folder, const std::string& name) {
  if (folder.empty() || name.empty())
    return {};
  std::error_code error;
  std::string best;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    const std::string entry = it->path().filename().string();
    if (text::EqualsIgnoringAsciiCase(entry, name) && it->is_regular_file(error) &&
        (best.empty() || entry == name))
      best = entry;
  }
  return best.empty() ? std::string() : folder + '/' + best;
}

std::string ToWineWindowsPath(const std::string& path) {
  if (path.empty() || path.front() != '/')
    return path;
  std::string windows = "Z:" + path;
  for (char& c : windows)
    if (c == '/')
      c = '\\';
  return windows;
}

} // namespace platform
