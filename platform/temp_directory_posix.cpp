#include "temp_directory.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string SystemTempFolder() {
  const char* tmpdir = std::getenv("TMPDIR");
  struct stat info {};
  if (tmpdir != nullptr && *tmpdir == '/' && ::stat(tmpdir, &info) == 0 && S_ISDIR(info.st_mode)) {
    std::string folder(tmpdir);
    while (folder.size() > 1 && folder.back() == '/')
      folder.pop_back();
    return folder;
  }
  return "/tmp";
}

// True when `folder` is a real directory (not a link) of ours that nobody else can enter.
bool IsPrivateFolder(const std::string& folder) {
  struct stat info {};
  if (::lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
    return false;
  if ((info.st_mode & 077) == 0)
    return true;
  // Ours but opened up, perhaps by hand: close it again rather than give it up.
  return ::chmod(folder.c_str(), 0700) == 0;
}

} // namespace

std::string GetTempDirectory() {
  const std::string base = SystemTempFolder();
  const std::string folder = base + "/salvora-" + std::to_string(::getuid());
  if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) {
    if (IsPrivateFolder(folder))
      return folder + '/';
  }
  std::string fresh = folder + "-XXXXXX";
  if (::mkdtemp(fresh.data()) == nullptr)
    throw std::runtime_error("Cannot create file " + folder);
  return fresh + '/';
}

} // namespace platform
