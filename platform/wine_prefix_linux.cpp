#include "known_folders.h"
#include "wine_prefix.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string AbsoluteVariable(const char* name) {
  const char* value = std::getenv(name);
  return (value != nullptr && *value == '/') ? std::string(value) : std::string();
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return path;
}

bool WriteAll(int fd, const std::string& data) {
  std::size_t done = 0;
  while (done < data.size()) {
    const ssize_t written = ::write(fd, data.data() + done, data.size() - done);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    done += static_cast<std::size_t>(written);
  }
  return true;
}

[[noreturn]] void CannotCreate(const std::string& path) {
  throw std::runtime_error("Cannot create file " + path);
}

} // namespace

std::string WinePrefixFolder() {
  const std::string prefix = AbsoluteVariable("WINEPREFIX");
  return prefix.empty() ? GetHomeFolder() + "/.wine" : WithoutTrailingSlash(prefix);
}

std::string WineUserHivePath() {
  return WinePrefixFolder() + "/user.reg";
}

std::string WritableHivePath() {
  std::string config = AbsoluteVariable("XDG_CONFIG_HOME");
  if (config.empty())
    config = GetHomeFolder() + "/.config";
  return WithoutTrailingSlash(config) + "/SalvoraExpress/user.reg";
}

WineHive LoadHiveFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return {};
  std::ostringstream text;
  text << in.rdbuf();
  return WineHive::Parse(text.str());
}

void SaveHiveFile(const std::string& path, const WineHive& hive) {
  const std::string folder = path.substr(0, path.rfind('/'));
  // The configuration folder itself may be missing on a fresh account.
  for (std::size_t slash = folder.find('/', 1);; slash = folder.find('/', slash + 1)) {
    const std::string part = folder.substr(0, slash);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST)
      CannotCreate(path);
    if (slash == std::string::npos)
      break;
  }
  std::string temporary = path + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0)
    CannotCreate(path);
  const bool written = WriteAll(fd, hive.Serialize()) && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !written || std::rename(temporary.c_str(), path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    CannotCreate(path);
  }
}

} // namespace platform
