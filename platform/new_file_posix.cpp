#include "new_file.h"
#include "temporary_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

TemporaryFile::TemporaryFile(const std::string& path) {
  std::string pattern = FolderOf(path) + "/.salvora-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd >= 0) {
    name_.assign(name.data());
    handle_ = fd;
  }
}

TemporaryFile::~TemporaryFile() {
  if (handle_ >= 0)
    ::close(static_cast<int>(handle_));
  if (!name_.empty())
    ::unlink(name_.c_str());
}

bool TemporaryFile::WriteAll(std::string_view bytes) {
  const int fd = static_cast<int>(handle_);
  // mkstemp makes the file private; saved mail gets the user's usual permissions.
  mode_t mask = ::umask(0);
  ::umask(mask);
  if (::fchmod(fd, 0666 & ~mask) != 0)
    return false;
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  handle_ = -1;
  return ::close(fd) == 0; // closing reports late write errors too
}

NewFileResult MoveWithoutReplacing(const std::string& from, const std::string& to, bool& failed) {
  failed = false;
  if (::link(from.c_str(), to.c_str()) == 0) {
    ::unlink(from.c_str());
    return NewFileResult::Created;
  }
  if (errno == EEXIST)
    return NewFileResult::AlreadyExists;
  // File systems without hard links (FAT on memory sticks): rename, after a last look.
  if (PathExists(to))
    return NewFileResult::AlreadyExists;
  if (::rename(from.c_str(), to.c_str()) != 0) {
    failed = true;
    return NewFileResult::AlreadyExists;
  }
  return NewFileResult::Created;
}

bool PathExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

} // namespace platform
