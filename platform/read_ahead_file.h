// Reading through a read-ahead window, shared by the exclusive openers of every system: block
// chains mostly run forward, so one system read serves many small reads.
#pragma once

#include "random_access_file.h"

#include <cstdint>
#include <vector>

namespace platform {

class ReadAheadFile : public RandomAccessFile {
public:
  explicit ReadAheadFile(std::int64_t size) : size_(size) {}

  std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) final;
  std::int64_t Size() const final { return size_; }

protected:
  // Reads up to `size` bytes at `offset` from the file itself; fewer only at its end or on an
  // error. `offset` lies inside the file.
  virtual std::size_t ReadDirect(std::int64_t offset, char* buffer, std::size_t size) = 0;

private:
  std::int64_t size_;
  std::vector<char> window_;
  std::int64_t window_start_ = 0;
  std::int64_t window_length_ = 0;
};

} // namespace platform
