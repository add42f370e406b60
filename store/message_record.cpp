#include "message_record.h"

#include "dbx_layout.h"

#include <algorithm>

namespace uoexpress {
namespace {

using namespace layout;

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

  // Text up to the first NUL, the end of the area, or the text limit.
  std::string ReadText(std::uint32_t at) {
    std::string text;
    std::int64_t end = std::min(length_, std::int64_t{at} + kMaxAttributeText);
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

void ApplyAttribute(Toe5_MessageInfo& info, std::uint8_t tag, std::uint32_t value,
                    ValueArea& values) {
  switch (tag) {
  case 0x01:
    info.Attr01 = static_cast<std::int32_t>(values.ReadUInt24(value));
    break;
  case 0x02:
    info.Attr02 = values.ReadUInt64(value);
    break;
  // A message whose first block lies at 16 MiB or beyond is named through the value area,
  // since a direct value holds only 24 bits.
  case 0x04:
    info.DataOffset = values.ReadInt32(value);
    break;
  case 0x07:
    info.Attr07 = values.ReadText(value);
    break;
  case 0x08:
    info.Attr08 = values.ReadText(value);
    break;
  case 0x09:
    info.Attr09 = values.ReadText(value);
    break;
  case 0x0A:
    info.Attr0A = values.ReadText(value);
    break;
  case 0x0B:
    info.Attr0B = values.ReadText(value);
    break;
  case 0x0D:
    info.Attr0D = values.ReadText(value);
    break;
  case 0x0E:
    info.Attr0E = values.ReadText(value);
    break;
  case 0x12:
    info.Attr12 = values.ReadUInt64(value);
    break;
  case 0x13:
    info.Attr13 = values.ReadText(value);
    break;
  case 0x1A:
    info.Attr1A = values.ReadText(value);
    break;
  case 0x1B:
    info.Attr1B = values.ReadText(value);
    break;
  case 0x80:
    info.Attr00 = static_cast<std::int32_t>(value);
    break;
  case 0x81:
    info.Attr01 = static_cast<std::int32_t>(value);
    break;
  case 0x84:
    info.DataOffset = static_cast<std::int32_t>(value);
    break;
  case 0x91:
    info.Attr11 = static_cast<std::int32_t>(value);
    break;
  default:
    break;
  }
}

} // namespace

std::optional<Toe5_MessageInfo> ReadMessageRecord(DbxStream& stream, std::int32_t offset) {
  unsigned char header[kRecordHeaderSize];
  stream.Read(offset, header, sizeof header);
  if (LoadInt32(header) != offset)
    return std::nullopt;
  int count = header[kRecordEntryCount];
  if (count == 0 || count > kMaxAttributeEntries)
    return std::nullopt;

  Toe5_MessageInfo info;
  info.InfoOffset = offset;
  unsigned char table[4 * kMaxAttributeEntries];
  std::int64_t table_start = std::int64_t{offset} + kRecordHeaderSize;
  stream.Read(table_start, table, 4 * count);
  std::int64_t values_start = table_start + 4 * count;
  ValueArea values(stream, values_start,
                   std::int64_t{LoadInt32(header + kRecordBodyLength)} - 4 * count);
  for (int i = 0; i < count; ++i) {
    std::uint32_t entry = LoadUInt32(table + 4 * i);
    ApplyAttribute(info, static_cast<std::uint8_t>(entry & 0xFF), entry >> 8, values);
  }
  if (info.DataOffset == 0)
    info.DataOffset = stream.ReadInt32(values_start + kFixedDataOffsetInValues);
  return info;
}

} // namespace uoexpress
