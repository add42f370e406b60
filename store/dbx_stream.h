// Every file byte the reader uses comes through DbxStream: bounds-checked positioned reads
// where bytes beyond the end of the file read as zero.
#pragma once

#include "platform/random_access_file.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

namespace uoexpress {

class DbxStream {
public:
  // Opens `path` through the platform's reader opener; throws EFOpenError on failure.
  explicit DbxStream(const std::string& path);

  std::int64_t Size() const { return size_; }

  // Fills `buffer` with `size` bytes from `offset`; what lies outside the file reads as zero.
  void Read(std::int64_t offset, void* buffer, std::size_t size);

  // As Read, but stops at a read error: returns how many bytes from `offset` on were read
  // before it, `size` when there was none. What was not read reads as zero here too.
  std::size_t ReadUntilError(std::int64_t offset, void* buffer, std::size_t size);

  std::int32_t ReadInt32(std::int64_t offset);

private:
  std::unique_ptr<platform::RandomAccessFile> file_;
  std::int64_t size_;
};

// The header values the reader keeps for the file it has open.
struct Toe5_FileHeader {
  std::int32_t MessageCount = 0; // not positive: the live listing and reader see no messages
};

Toe5_FileHeader ReadFileHeader(DbxStream& stream);

inline std::int32_t LoadInt32(const unsigned char* bytes) {
  std::uint32_t value = std::uint32_t{bytes[0]} | (std::uint32_t{bytes[1]} << 8) |
                        (std::uint32_t{bytes[2]} << 16) | (std::uint32_t{bytes[3]} << 24);
  return static_cast<std::int32_t>(value);
}

inline std::uint32_t LoadUInt32(const unsigned char* bytes) {
  return static_cast<std::uint32_t>(LoadInt32(bytes));
}

} // namespace uoexpress
