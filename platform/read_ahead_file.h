// Reading through read-ahead windows, shared by the exclusive openers of every system: block
// chains mostly run forward, so one system read serves many small reads. A scan reads two or
// three places of a file in turn (an index node, a message's record, its text), each moving
// forward, so each place keeps a window of its own.
#pragma once

#include "random_access_file.h"

#include <array>
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
  struct Window {
    std::vector<char> bytes;
    std::int64_t start = 0;
    std::int64_t length = 0;
    std::uint64_t last_used = 0;
  };

  Window& WindowFor(std::int64_t offset, std::size_t size);

  std::int64_t size_;
  std::array<Window, 4> windows_;
  std::uint64_t reads_ = 0;
};

} // namespace platform
