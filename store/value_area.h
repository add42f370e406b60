// The value area of a record: the bytes after its attribute table, where indirect attributes
// keep their values.
#pragma once

#include "dbx_stream.h"

#include <algorithm>
#include <cstdint>
#include <string>

namespace uoexpress {

// Texts in a record are addresses, subjects and folder names. A hostile body length could
// make one run over the whole file; no text is kept beyond this.
constexpr std::int64_t kMaxAttributeText = 64 * 1024;

// The value area of one record: reads that run past its end see zeros, as do reads past
// the end of the file. Values are read from the file where they lie, so a hostile body
// length never makes the reader allocate or read the whole claimed area.
class ValueArea {
public:
  ValueArea(DbxStream& stream, std::int64_t start, std::int64_t length)
      : stream_(stream), start_(start), length_(std::max<std::int64_t>(length, 0)) {}

  void Read(std::uint32_t at, unsigned char* out, std::size_t size) {
    std::fill(out, out + size, 0);
    if (at >= length_)
      return;
    std::size_t inside = static_cast<std::size_t>(std::min<std::int64_t>(size, length_ - at));
    stream_.Read(start_ + at, out, inside);
  }

  std::uint32_t ReadUInt24(std::uint32_t at) {
    unsigned char bytes[3];
    Read(at, bytes, sizeof bytes);
    return bytes[0] | (std::uint32_t{bytes[1]} << 8) | (std::uint32_t{bytes[2]} << 16);
  }

  std::int32_t ReadInt32(std::uint32_t at) {
    unsigned char bytes[4];
    Read(at, bytes, sizeof bytes);
    return LoadInt32(bytes);
  }

  std::uint64_t ReadUInt64(std::uint32_t at) {
    unsigned char bytes[8];
    Read(at, bytes, sizeof bytes);
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i)
      value = (value << 8) | bytes[i];
    return value;
  }

  // Text up to the first NUL, the end of the area, or `limit` bytes.
  std::string ReadText(std::uint32_t at, std::int64_t limit = kMaxAttributeText) {
    std::string text;
    std::int64_t end = std::min(length_, std::int64_t{at} + limit);
    char chunk[256];
    for (std::int64_t pos = at; pos < end;) {
      std::size_t size = static_cast<std::size_t>(std::min<std::int64_t>(sizeof chunk, end - pos));
      stream_.Read(start_ + pos, chunk, size);
      const char* nul = std::find(chunk, chunk + size, '\0');
      text.append(chunk, static_cast<std::size_t>(nul - chunk));
      if (nul != chunk + size)
        break;
      pos += static_cast<std::int64_t>(size);
    }
    return text;
  }

private:
  DbxStream& stream_;
  std::int64_t start_;
  std::int64_t length_;
};

} // namespace uoexpress
