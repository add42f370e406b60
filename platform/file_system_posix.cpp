#include "file_system.h"
#include "kernel_copy.h"
#include "text/ascii.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

struct CloseDir {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

class FileDescriptor {
public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0)
      ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closing reports late write errors, so the copy checks it.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

private:
  int fd_;
};

bool CopyContents(int from, int to) {
  switch (CopyInKernel(from, to)) {
  case KernelCopy::Copied:
    return true;
  case KernelCopy::Failed:
    return false;
  case KernelCopy::Unsupported:
    break;
  }
  char buffer[64 * 1024];
  for (;;) {
    ssize_t got = ::read(from, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0)
      return false;
    if (got == 0)
      return true;
    for (ssize_t done = 0; done < got;) {
      const ssize_t written = ::write(to, buffer + done, static_cast<std::size_t>(got - done));
      if (written < 0 && errno == EINTR)
        continue;
      if (written <= 0)
        return false;
      done += written;
    }
  }
}

// The reader holds each folder file it reads with an exclusive flock, as it holds it with a
// share-nothing open on Windows, where a copy from or onto a held file is refused. The copier
// takes the same lock and refuses likewise. Only a lock held by another counts: a file system
// that cannot lock at all must not stop the user's mail from being copied.
bool HeldByAnother(int fd, int operation) {
  int result;
  do
    result = ::flock(fd, operation | LOCK_NB);
  while (result != 0 && errno == EINTR);
  return result != 0 && errno == EWOULDBLOCK;
}

} // namespace

std::vector<DirectoryEntry> ListDirectory(const std::string& folder) {
  std::vector<DirectoryEntry> entries;
  std::unique_ptr<DIR, CloseDir> dir(::opendir(folder.c_str()));
  if (!dir)
    return entries;
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + '/';
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..")
      continue;
    struct stat info {};
    const bool is_file = ::stat((prefix + name).c_str(), &info) == 0 && S_ISREG(info.st_mode);
    entries.push_back({name, is_file});
  }
  std::sort(entries.begin(), entries.end(), [](const DirectoryEntry& a, const DirectoryEntry& b) {
    const int order = text::CompareIgnoringAsciiCase(a.name, b.name);
    return order != 0 ? order < 0 : a.name < b.name;
  });
  return entries;
}

bool CopyFileReplacing(const std::string& from, const std::string& to) {
  FileDescriptor source(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (source.get() < 0 || ::fstat(source.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
      HeldByAnother(source.get(), LOCK_SH))
    return false;
  // Truncating the target must never truncate the source: copying a file onto itself fails.
  struct stat existing {};
  if (::lstat(to.c_str(), &existing) == 0 && existing.st_dev == info.st_dev &&
      existing.st_ino == info.st_ino)
    return false;
  // Never follow a link planted where the copy goes, and never widen an existing file's mode.
  // The target is cut only once its lock is ours; a held one is left as it is.
  FileDescriptor target(::open(to.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
  if (target.get() < 0 || HeldByAnother(target.get(), LOCK_EX))
    return false;
  // An empty target is not cut: ext4 flushes a file to disk on close once it was truncated, which
  // would make every fresh copy wait for the disk.
  struct stat current {};
  const bool emptied = ::fstat(target.get(), &current) == 0 &&
                       (current.st_size == 0 || ::ftruncate(target.get(), 0) == 0);
  const bool copied =
      emptied && ::fchmod(target.get(), 0600) == 0 && CopyContents(source.get(), target.get());
  if (!target.Close() || !copied) {
    ::unlink(to.c_str());
    return false;
  }
  return true;
}

bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

bool DirectoryExists(const std::string& path) {
  struct stat info {};
  return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeDirectory(const std::string& path) {
  return ::mkdir(path.c_str(), 0777) == 0;
}

} // namespace platform
