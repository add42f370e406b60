#include "read_ahead_file.h"

#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// A window starts small, since most opens read one short chain, and doubles while reads run
// forward past its end.
constexpr std::size_t kFirstWindow = 8 * 1024;
constexpr std::size_t kLargestWindow = 256 * 1024;

} // namespace

ReadAheadFile::Window& ReadAheadFile::WindowFor(std::int64_t offset, std::size_t size) {
  const auto end = offset + static_cast<std::int64_t>(size);
  for (Window& window : windows_)
    if (window.length > 0 && offset >= window.start && end <= window.start + window.length)
      return window;
  // A read just past a window's end continues a forward run, and one just before its start a
  // backward run (a deleted message's blocks are often freed last to first): the run takes
  // that window over, larger, on its side. Any other read takes the window used longest ago,
  // from its first size.
  Window* chosen = nullptr;
  bool backward = false;
  for (Window& window : windows_) {
    if (window.length == 0)
      continue;
    if (offset >= window.start + window.length && offset < window.start + 2 * window.length) {
      chosen = &window;
      backward = false;
    } else if (end <= window.start && offset >= window.start - window.length) {
      chosen = &window;
      backward = true;
    }
  }
  const bool run = chosen != nullptr;
  if (!run)
    chosen =
        &*std::min_element(windows_.begin(), windows_.end(), [](const Window& a, const Window& b) {
          return a.last_used < b.last_used;
        });
  const std::size_t capacity =
      run ? std::min(chosen->bytes.size() * 2, kLargestWindow) : kFirstWindow;
  chosen->bytes.resize(std::max(capacity, size));
  const auto length = static_cast<std::int64_t>(chosen->bytes.size());
  // Backward, the window ends where the old one started: the read lies inside it, as it lies
  // no further before that start than the old window was long.
  chosen->start = backward ? std::max<std::int64_t>(0, chosen->start - length) : offset;
  const std::size_t wanted =
      static_cast<std::size_t>(std::min<std::int64_t>(length, size_ - chosen->start));
  chosen->length =
      static_cast<std::int64_t>(ReadDirect(chosen->start, chosen->bytes.data(), wanted));
  return *chosen;
}

std::size_t ReadAheadFile::ReadAt(std::int64_t offset, char* buffer, std::size_t size) {
  if (offset < 0 || offset >= size_ || size == 0)
    return 0;
  size = static_cast<std::size_t>(std::min<std::int64_t>(size, size_ - offset));
  if (size > kLargestWindow)
    return ReadDirect(offset, buffer, size);
  Window& window = WindowFor(offset, size);
  window.last_used = ++reads_;
  const std::size_t available =
      static_cast<std::size_t>(std::max<std::int64_t>(0, window.start + window.length - offset));
  const std::size_t got = std::min(size, available);
  std::memcpy(buffer, window.bytes.data() + (offset - window.start), got);
  return got;
}

} // namespace platform
