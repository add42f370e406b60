#include "message_record.h"

#include "dbx_layout.h"
#include "value_area.h"

#include <array>

namespace uoexpress {
namespace {

using namespace layout;

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

// Tags that set the same field share a number, so that only the last of them is applied.
std::uint8_t FieldOf(std::uint8_t tag) {
  switch (tag) {
  case 0x81:
    return 0x01;
  case 0x84:
    return 0x04;
  default:
    return tag;
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
  // Each attribute overwrites what an earlier one for the same field set, so only the last is
  // read: a hostile table naming fifty long texts for one field costs one text's reads.
  std::array<int, 256> last{};
  for (int i = 0; i < count; ++i)
    last[FieldOf(table[4 * i])] = i;
  for (int i = 0; i < count; ++i) {
    std::uint32_t entry = LoadUInt32(table + 4 * i);
    std::uint8_t tag = static_cast<std::uint8_t>(entry & 0xFF);
    if (last[FieldOf(tag)] == i)
      ApplyAttribute(info, tag, entry >> 8, values);
  }
  if (info.DataOffset == 0)
    info.DataOffset = stream.ReadInt32(values_start + kFixedDataOffsetInValues);
  return info;
}

} // namespace uoexpress
