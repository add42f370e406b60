#include "dbx_writer.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace dbxtest {
namespace {

// The signature and header size of an Outlook Express message folder file. The reader does
// not check them; they make the files look like the real thing to other tools.
constexpr unsigned char kSignature[] = {0xCF, 0xAD, 0x12, 0xFE, 0xC5, 0xFD, 0x74, 0x6F, 0x66, 0xE3,
                                        0xD1, 0x11, 0x9A, 0x4E, 0x00, 0xC0, 0x4F, 0xA3, 0x09, 0xD4};
constexpr std::int32_t kHeaderSize = 0x24BC;
// Outlook Express puts its first data block here; below it no count word of a node can
// land on a structure by chance.
constexpr std::int32_t kFirstAllocation = 60116;

std::string Int32Bytes(std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<char>(value >> (8 * i));
  return bytes;
}

} // namespace

void DbxImage::Reserve(std::int64_t end) {
  if (end > static_cast<std::int64_t>(bytes_.size()))
    bytes_.resize(static_cast<std::size_t>(end), '\0');
}

void DbxImage::PutUInt32(std::int64_t offset, std::uint32_t value) {
  PutBytes(offset, Int32Bytes(value));
}

void DbxImage::PutInt32(std::int64_t offset, std::int32_t value) {
  PutUInt32(offset, static_cast<std::uint32_t>(value));
}

void DbxImage::PutBytes(std::int64_t offset, std::string_view bytes) {
  if (offset < 0)
    throw std::invalid_argument("negative offset");
  Reserve(offset + static_cast<std::int64_t>(bytes.size()));
  std::copy(bytes.begin(), bytes.end(), bytes_.begin() + offset);
}

void DbxImage::Node(std::int32_t offset, std::int32_t first_link, std::int32_t second_link,
                    const std::vector<NodeEntry>& entries,
                    std::optional<std::uint32_t> count_word) {
  PutInt32(offset, offset);
  PutInt32(offset + 8, second_link);
  PutInt32(offset + 12, first_link);
  PutUInt32(offset + 16, count_word.value_or(static_cast<std::uint32_t>(entries.size()) << 8));
  PutInt32(offset + 20, 0);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    std::int64_t at = offset + 24 + 12 * static_cast<std::int64_t>(i);
    PutInt32(at, entries[i].record);
    PutInt32(at + 4, entries[i].child);
    PutInt32(at + 8, 0);
  }
}

void DbxImage::Record(std::int32_t offset, const std::vector<Attribute>& attributes,
                      std::string_view value_area, std::optional<std::int32_t> body_length) {
  auto table_size = static_cast<std::int32_t>(4 * attributes.size());
  PutInt32(offset, offset);
  PutInt32(offset + 4,
           body_length.value_or(table_size + static_cast<std::int32_t>(value_area.size())));
  PutBytes(offset + 8,
           std::string{static_cast<char>(table_size & 0xFF), static_cast<char>(table_size >> 8),
                       static_cast<char>(attributes.size()), '\0'});
  for (std::size_t i = 0; i < attributes.size(); ++i)
    PutUInt32(offset + 12 + 4 * static_cast<std::int64_t>(i),
              attributes[i].tag | (attributes[i].value << 8));
  PutBytes(offset + 12 + table_size, value_area);
}

void DbxImage::Block(std::int32_t offset, std::int32_t text_length, std::int32_t next,
                     std::string_view text) {
  PutInt32(offset, offset);
  PutInt32(offset + 4, kBlockTextSize);
  PutInt32(offset + 8, text_length);
  PutInt32(offset + 12, next);
  Reserve(offset + kBlockSize);
  PutBytes(offset + 16, text.substr(0, kBlockTextSize));
}

void DbxImage::DeletedBlock(std::int32_t offset, std::int32_t length_field, std::int32_t next,
                            std::int32_t link, std::string_view text) {
  Block(offset, length_field, next, text);
  PutInt32(offset + 16, link);
}

void DbxImage::FallbackTable(const std::vector<std::int32_t>& records) {
  PutInt32(kFallbackTable, kFallbackTable);
  for (std::size_t i = 0; i < records.size(); ++i) {
    std::int64_t at = kFallbackTable + 24 + 12 * static_cast<std::int64_t>(i);
    PutInt32(at, records[i]);
    PutInt32(at + 4, 0);
    PutInt32(at + 8, 0);
  }
  PutInt32(kFallbackLengthField, static_cast<std::int32_t>(24 + 12 * records.size()));
}

void DbxImage::WriteTo(const std::string& path) const {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
  if (!out)
    throw std::runtime_error("cannot write " + path);
}

StoreBuilder::StoreBuilder() : image_(kFirstAllocation) {
  image_.PutBytes(0,
                  std::string_view(reinterpret_cast<const char*>(kSignature), sizeof kSignature));
  image_.PutInt32(0x1C, kHeaderSize);
}

std::int32_t StoreBuilder::Allocate(std::int32_t size) {
  // Outlook Express keeps every structure on a 4-byte boundary.
  auto offset = static_cast<std::int32_t>((image_.bytes().size() + 3) & ~std::size_t{3});
  image_.PutBytes(offset, std::string(static_cast<std::size_t>(size), '\0'));
  return offset;
}

void StoreBuilder::SkipTo(std::int64_t offset) {
  if (offset > static_cast<std::int64_t>(image_.bytes().size()))
    image_.PutBytes(offset, {});
}

int StoreBuilder::AddMessage(std::string_view text, const MessageFields& fields,
                             RecordLayout layout) {
  Message message;
  std::size_t pieces =
      std::max<std::size_t>(1, (text.size() + kBlockTextSize - 1) / kBlockTextSize);
  for (std::size_t i = 0; i < pieces; ++i)
    message.blocks.push_back(Allocate(kBlockSize));
  for (std::size_t i = 0; i < pieces; ++i) {
    std::string_view piece = text.substr(std::min(text.size(), i * kBlockTextSize), kBlockTextSize);
    std::int32_t next = i + 1 < pieces ? message.blocks[i + 1] : 0;
    image_.Block(message.blocks[i], static_cast<std::int32_t>(piece.size()), next, piece);
  }
  messages_.push_back(message);
  int index = static_cast<int>(messages_.size()) - 1;
  messages_[index].record = WriteRecord(index, message.blocks.front(),
                                        static_cast<std::uint32_t>(text.size()), fields, layout);
  return index;
}

RecordContent MessageRecord(int index, std::int32_t data_offset, std::uint32_t size,
                            const MessageFields& fields, RecordLayout layout) {
  RecordContent record;
  std::vector<Attribute>& attributes = record.attributes;
  std::string& values = record.values;
  auto indirect = [&](std::uint8_t tag, std::string_view bytes) {
    attributes.push_back({tag, static_cast<std::uint32_t>(values.size())});
    values.append(bytes);
  };
  auto text = [&](std::uint8_t tag, const std::string& value) {
    if (!value.empty())
      indirect(tag, value + '\0');
  };
  std::string date(8, '\0');
  for (int i = 0; i < 8; ++i)
    date[i] = static_cast<char>(fields.date >> (8 * i));
  bool direct_offset = data_offset < (1 << 24);

  attributes.push_back({0x80, static_cast<std::uint32_t>(index + 1)});
  if (layout == RecordLayout::FlagsIndirect)
    indirect(0x01, Int32Bytes(fields.flags));
  else
    attributes.push_back({0x81, fields.flags});
  indirect(0x02, date);
  if (direct_offset)
    attributes.push_back({0x84, static_cast<std::uint32_t>(data_offset)});
  else
    indirect(0x04, Int32Bytes(static_cast<std::uint32_t>(data_offset)));
  text(0x07, fields.message_id);
  text(0x08, fields.subject);
  text(0x0D, fields.sender_name);
  text(0x0E, fields.sender_address);
  text(0x13, fields.recipient);
  attributes.push_back({0x91, size & 0xFFFFFF});

  std::stable_sort(
      attributes.begin(), attributes.end(),
      [](const Attribute& a, const Attribute& b) { return (a.tag & 0x7F) < (b.tag & 0x7F); });
  return record;
}

std::int32_t StoreBuilder::WriteRecord(int index, std::int32_t data_offset, std::uint32_t size,
                                       const MessageFields& fields, RecordLayout layout) {
  RecordContent record = MessageRecord(index, data_offset, size, fields, layout);
  std::int32_t offset =
      Allocate(static_cast<std::int32_t>(12 + 4 * record.attributes.size() + record.values.size()));
  image_.Record(offset, record.attributes, record.values);
  return offset;
}

void StoreBuilder::DeleteMessage(int message) {
  Message& deleted = messages_.at(message);
  if (deleted.deleted)
    return;
  deleted.deleted = true;
  for (std::int32_t block : deleted.blocks) {
    std::string& bytes = image_.bytes();
    auto length = static_cast<unsigned char>(bytes[block + 8]) |
                  (static_cast<unsigned char>(bytes[block + 9]) << 8);
    image_.PutInt32(block + 8, length + 16);
    image_.PutInt32(block + 16, deleted_head_);
    deleted_head_ = block;
  }
}

namespace {

std::int32_t WriteSubtree(const std::vector<std::int32_t>& records, std::size_t begin,
                          std::size_t end, std::size_t fan, const NodeWriter& write_node) {
  std::size_t count = end - begin;
  if (count == 0)
    return 0;
  std::vector<NodeEntry> entries;
  std::int32_t first_link = 0;
  if (count <= fan) {
    for (std::size_t i = begin; i < end; ++i)
      entries.push_back({records[i], 0});
  } else {
    // `fan` entries in this node; the rest spread over the subtree before the first entry
    // and the subtrees after each entry, so the walk lists the messages in order.
    std::size_t rest = count - fan;
    auto segment = [&](std::size_t i) { return rest / (fan + 1) + (i < rest % (fan + 1) ? 1 : 0); };
    std::size_t pos = begin;
    first_link = WriteSubtree(records, pos, pos + segment(0), fan, write_node);
    pos += segment(0);
    for (std::size_t i = 0; i < fan; ++i) {
      std::int32_t record = records[pos++];
      std::int32_t child = WriteSubtree(records, pos, pos + segment(i + 1), fan, write_node);
      pos += segment(i + 1);
      entries.push_back({record, child});
    }
  }
  return write_node(first_link, entries);
}

} // namespace

std::int32_t WriteIndexTree(const std::vector<std::int32_t>& records, int fan_out,
                            const NodeWriter& write_node) {
  return WriteSubtree(records, 0, records.size(), static_cast<std::size_t>(fan_out), write_node);
}

DbxImage StoreBuilder::Build(int fan_out) {
  std::vector<std::int32_t> live;
  for (const Message& message : messages_)
    if (!message.deleted)
      live.push_back(message.record);
  image_.SetRootNode(WriteIndexTree(
      live, fan_out, [&](std::int32_t first_link, const std::vector<NodeEntry>& entries) {
        std::int32_t node = Allocate(static_cast<std::int32_t>(24 + 12 * entries.size()));
        image_.Node(node, first_link, 0, entries);
        return node;
      }));
  image_.SetMessageCount(static_cast<std::int32_t>(live.size()));
  image_.SetDeletedHead(deleted_head_);
  return image_;
}

std::string StoreBuilder::DeletedText(std::string_view text) {
  std::string result(text);
  for (std::size_t block = 0; block < result.size(); block += kBlockTextSize)
    for (std::size_t i = block; i < std::min(result.size(), block + 4); ++i)
      result[i] = '_';
  return result;
}

} // namespace dbxtest
