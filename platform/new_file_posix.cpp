#include "new_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

// Owns the temporary file until it has been given its name.
class TemporaryFile {
public:
  explicit TemporaryFile(const std::string& folder) : name_(folder + "/.salvora-XXXXXX") {
    std::vector<char> pattern(name_.begin(), name_.end());
    pattern.push_back('\0');
    fd_ = ::mkstemp(pattern.data());
    if (fd_ >= 0)
      name_.assign(pattern.data());
    else
      fd_ = kNothingToRemove;
  }
  ~TemporaryFile() {
    if (fd_ >= 0)
      ::close(fd_);
    if (fd_ != kNothingToRemove)
      ::unlink(name_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool ok() const { return fd_ != kNothingToRemove; }
  const std::string& name() const { return name_; }

  bool WriteAll(std::string_view bytes) {
    // mkstemp makes the file private; saved mail gets the user's usual permissions.
    mode_t mask = ::umask(0);
    ::umask(mask);
    if (::fchmod(fd_, 0666 & ~mask) != 0)
      return false;
    while (!bytes.empty()) {
      ssize_t written = ::write(fd_, bytes.data(), bytes.size());
      if (written < 0 && errno == EINTR)
        continue;
      if (written <= 0)
        return false;
      bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

  // Gives the file its name unless something stands there already.
  NewFileResult Publish(const std::string& path, bool& failed) {
    failed = false;
    if (::link(name_.c_str(), path.c_str()) == 0)
      return NewFileResult::Created; // the destructor removes the temporary name
    if (errno == EEXIST)
      return NewFileResult::AlreadyExists;
    // File systems without hard links (FAT on memory sticks): rename, after a last look.
    if (PathExists(path))
      return NewFileResult::AlreadyExists;
    if (::rename(name_.c_str(), path.c_str()) != 0) {
      failed = true;
      return NewFileResult::AlreadyExists;
    }
    fd_ = kNothingToRemove;
    return NewFileResult::Created;
  }

private:
  // No temporary file was made, or it was renamed to its final name.
  static constexpr int kNothingToRemove = -2;
  std::string name_;
  int fd_ = -1;
};

std::string FolderOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

[[noreturn]] void CannotCreate(const std::string& path) {
  throw std::runtime_error("Cannot create file " + path);
}

} // namespace

bool PathExists(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

NewFileResult WriteNewFile(const std::string& path, std::string_view bytes) {
  TemporaryFile file(FolderOf(path));
  if (!file.ok() || !file.WriteAll(bytes))
    CannotCreate(path);
  bool failed = false;
  NewFileResult result = file.Publish(path, failed);
  if (failed)
    CannotCreate(path);
  return result;
}

} // namespace platform
