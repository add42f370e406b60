#include "exclusive_file.h"
#include "read_ahead_file.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

static_assert(sizeof(off_t) >= sizeof(std::int64_t), "build with 64-bit file offsets");

class LockedFile final : public ReadAheadFile {
public:
  LockedFile(int fd, std::int64_t size) : ReadAheadFile(size), fd_(fd) {}
  ~LockedFile() override { ::close(fd_); } // closing drops the lock
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  // Straight from the file, past the windows: only the descriptor is shared, so a piece
  // reader's thread may read this way while its caller reads through the windows.
  ReadResult ReadAtChecked(std::int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0 || offset >= Size())
      return {};
    size = static_cast<std::size_t>(std::min(Size() - offset, static_cast<std::int64_t>(size)));
    ReadResult result;
    while (result.got < size) {
      const ssize_t got = ::pread(fd_, buffer + result.got, size - result.got,
                                  static_cast<off_t>(offset + std::int64_t(result.got)));
      if (got < 0 && errno == EINTR)
        continue;
      if (got < 0)
        result.failed = true; // EIO on a bad sector, among others
      if (got <= 0)
        break;
      result.got += static_cast<std::size_t>(got);
    }
    return result;
  }

private:
  std::size_t ReadDirect(std::int64_t offset, char* buffer, std::size_t size) override {
    return ReadAtChecked(offset, buffer, size).got;
  }

  int fd_;
};

} // namespace

std::unique_ptr<RandomAccessFile> OpenExclusiveForReading(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return nullptr;
  // A block device (a disk, or an image on a loop device) is read as a file too. Its status
  // gives no size, but seeking to its end does.
  struct stat info {};
  off_t size = -1;
  if (::fstat(fd, &info) == 0 && (S_ISREG(info.st_mode) || S_ISBLK(info.st_mode)))
    size = ::lseek(fd, 0, SEEK_END);
  if (size < 0 || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<LockedFile>(fd, static_cast<std::int64_t>(size));
}

} // namespace platform
