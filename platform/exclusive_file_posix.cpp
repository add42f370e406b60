#include "exclusive_file.h"
#include "read_ahead_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

class LockedFile final : public ReadAheadFile {
public:
  LockedFile(int fd, std::int64_t size) : ReadAheadFile(size), fd_(fd) {}
  ~LockedFile() override { ::close(fd_); } // closing drops the lock
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

private:
  std::size_t ReadDirect(std::int64_t offset, char* buffer, std::size_t size) override {
    std::size_t done = 0;
    while (done < size) {
      ssize_t got = ::pread(fd_, buffer + done, size - done, static_cast<off_t>(offset + done));
      if (got < 0 && errno == EINTR)
        continue;
      if (got <= 0)
        break;
      done += static_cast<std::size_t>(got);
    }
    return done;
  }

  int fd_;
};

} // namespace

std::unique_ptr<RandomAccessFile> OpenExclusiveForReading(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<LockedFile>(fd, static_cast<std::int64_t>(info.st_size));
}

} // namespace platform
