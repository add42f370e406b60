#include "file_time.h"
#include "file_time_posix.h"
#include "new_file.h"
#include "temporary_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <string>
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

bool ProcFdUsable() {
  static const bool usable = ::access("/proc/self/fd", X_OK) == 0;
  return usable;
}

// The process's umask, asked once: asking means setting it, so it is not asked per file.
mode_t ProcessUmask() {
  static const mode_t mask = [] {
    const mode_t current = ::umask(0);
    ::umask(current);
    return current;
  }();
  return mask;
}

} // namespace

TemporaryFile::TemporaryFile(const std::string& path) {
  const std::string folder = FolderOf(path);
  // A file without a name takes its mode from the umask as any new file does, and needs no
  // name of its own or its removal: the cheapest way to make a file appear whole. It is named
  // through /proc, so only where that is mounted.
  if (ProcFdUsable()) {
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0) {
      handle_ = fd;
      anonymous_ = true;
      return;
    }
  }
  std::string pattern = folder + "/.salvora-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0)
    return;
  name_.assign(name.data());
  handle_ = fd;
  // mkstemp makes the file private; saved mail gets the user's usual permissions.
  if (::fchmod(fd, 0666 & ~ProcessUmask()) != 0) {
    ::close(fd);
    handle_ = -1;
    ::unlink(name_.c_str());
    name_.clear();
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
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  // A file with no name is linked while it is open; one with a name is closed first, which
  // reports late write errors too.
  return anonymous_ || Close();
}

bool TemporaryFile::SetModified(std::int64_t unix_seconds) {
  if (handle_ < 0)
    return SetFileModificationTime(name_, unix_seconds);
  timespec times[2];
  return ModificationOnlyTimes(unix_seconds, times) &&
         ::futimens(static_cast<int>(handle_), times) == 0;
}

NewFileResult TemporaryFile::Publish(const std::string& path, bool& failed) {
  failed = false;
  if (!anonymous_) {
    const NewFileResult result = MoveWithoutReplacing(name_, path, failed);
    if (result == NewFileResult::Created)
      name_.clear();
    return result;
  }
  const std::string self = "/proc/self/fd/" + std::to_string(handle_);
  if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
    return NewFileResult::Created;
  failed = errno != EEXIST;
  return NewFileResult::AlreadyExists;
}

bool TemporaryFile::Close() {
  if (handle_ < 0)
    return true;
  const int fd = static_cast<int>(handle_);
  handle_ = -1;
  return ::close(fd) == 0;
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
