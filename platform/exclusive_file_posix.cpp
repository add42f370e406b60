#include "exclusive_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

// The read-ahead window starts small, since most opens read one short chain, and doubles
// while reads run forward past its end.
constexpr std::size_t kFirstWindow = 8 * 1024;
constexpr std::size_t kLargestWindow = 256 * 1024;

class LockedFile final : public RandomAccessFile {
public:
  LockedFile(int fd, std::int64_t size) : fd_(fd), size_(size) {}
  ~LockedFile() override { ::close(fd_); } // closing drops the lock
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

  std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0 || offset >= size_ || size == 0)
      return 0;
    size = static_cast<std::size_t>(std::min<std::int64_t>(size, size_ - offset));
    if (size > kLargestWindow)
      return ReadDirect(offset, buffer, size);
    if (offset < window_start_ ||
        offset + static_cast<std::int64_t>(size) > window_start_ + window_length_) {
      bool forward = window_length_ > 0 && offset >= window_start_ + window_length_ &&
                     offset < window_start_ + window_length_ + window_length_;
      std::size_t capacity = forward ? std::min(window_.size() * 2, kLargestWindow) : kFirstWindow;
      window_.resize(std::max(capacity, size));
      window_start_ = offset;
      window_length_ =
          static_cast<std::int64_t>(ReadDirect(offset, window_.data(), window_.size()));
    }
    std::size_t available = static_cast<std::size_t>(
        std::max<std::int64_t>(0, window_start_ + window_length_ - offset));
    std::size_t got = std::min(size, available);
    std::memcpy(buffer, window_.data() + (offset - window_start_), got);
    return got;
  }

  std::int64_t Size() const override { return size_; }

private:
  std::size_t ReadDirect(std::int64_t offset, char* buffer, std::size_t size) {
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
  std::int64_t size_;
  std::vector<char> window_;
  std::int64_t window_start_ = 0;
  std::int64_t window_length_ = 0;
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
