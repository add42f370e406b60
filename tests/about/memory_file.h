// A file in memory for the version locator.
#pragma once

#include "platform/random_access_file.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace testpe {

class MemoryFile : public platform::RandomAccessFile {
public:
  explicit MemoryFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0 || static_cast<std::uint64_t>(offset) >= bytes_.size())
      return 0;
    const std::size_t n = std::min(size, bytes_.size() - static_cast<std::size_t>(offset));
    std::memcpy(buffer, bytes_.data() + offset, n);
    return n;
  }
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes_.size()); }

private:
  std::vector<std::uint8_t> bytes_;
};

} // namespace testpe
