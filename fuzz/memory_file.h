// Hands the store reader a file held in memory, so a fuzz input is read without touching the
// disk. The reader opens files through platform::SetFileOpener's opener, a plain function,
// hence the one buffer per process.
#pragma once

#include "platform/random_access_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace fuzzing {

inline std::string_view& MemoryFileBytes() {
  static std::string_view bytes;
  return bytes;
}

class MemoryFile final : public platform::RandomAccessFile {
public:
  explicit MemoryFile(std::string_view bytes) : bytes_(bytes) {}

  std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0 || offset >= Size())
      return 0;
    std::size_t start = static_cast<std::size_t>(offset);
    std::size_t count = std::min(size, bytes_.size() - start);
    std::memcpy(buffer, bytes_.data() + start, count);
    return count;
  }

  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

private:
  std::string_view bytes_;
};

inline std::unique_ptr<platform::RandomAccessFile> OpenMemoryFile(const std::string&) {
  return std::make_unique<MemoryFile>(MemoryFileBytes());
}

// Installs the in-memory opener with `bytes` as every file's contents until destroyed.
class ScopedMemoryFile {
public:
  explicit ScopedMemoryFile(std::string_view bytes) {
    MemoryFileBytes() = bytes;
    platform::SetFileOpener(&OpenMemoryFile);
  }
  ~ScopedMemoryFile() {
    platform::SetFileOpener(nullptr);
    MemoryFileBytes() = {};
  }
  ScopedMemoryFile(const ScopedMemoryFile&) = delete;
  ScopedMemoryFile& operator=(const ScopedMemoryFile&) = delete;
};

} // namespace fuzzing
