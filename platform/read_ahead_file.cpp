#include "read_ahead_file.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// The window starts small, since most opens read one short chain, and doubles while reads run
// forward past its end.
constexpr std::size_t kFirstWindow = 8 * 1024;
constexpr std::size_t kLargestWindow = 256 * 1024;

} // namespace

std::size_t ReadAheadFile::ReadAt(std::int64_t offset, char* buffer, std::size_t size) {
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
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::int64_t>(window_.size(), size_ - offset));
    window_length_ = static_cast<std::int64_t>(ReadDirect(offset, window_.data(), wanted));
  }
  std::size_t available =
      static_cast<std::size_t>(std::max<std::int64_t>(0, window_start_ + window_length_ - offset));
  std::size_t got = std::min(size, available);
  std::memcpy(buffer, window_.data() + (offset - window_start_), got);
  return got;
}

} // namespace platform
