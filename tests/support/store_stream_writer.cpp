#include "store_stream_writer.h"

#include <algorithm>
#include <stdexcept>

namespace dbxtest {
namespace {

constexpr std::int64_t kLimit = std::int64_t{1} << 31;

} // namespace

StoreStreamWriter::StoreStreamWriter(const std::string& path) {
  {
    // The header as StoreBuilder writes it, and the space before the first data block.
    DbxImage header = StoreBuilder().Build();
    std::ofstream create(path, std::ios::binary | std::ios::trunc);
    create.write(header.bytes().data(), static_cast<std::streamsize>(header.bytes().size()));
  }
  file_.open(path, std::ios::binary | std::ios::in | std::ios::out);
  if (!file_)
    throw std::runtime_error("cannot write " + path);
  file_.seekp(0, std::ios::end);
  end_ = file_.tellp();
}

// Writes a structure laid out at offset 0 of `piece` at the end of the file, with its first
// field set to its real offset, and returns that offset.
std::int32_t StoreStreamWriter::Append(const DbxImage& piece) {
  std::int64_t offset = (end_ + 3) & ~std::int64_t{3};
  std::int64_t size = static_cast<std::int64_t>(piece.bytes().size());
  if (offset + size >= kLimit)
    throw std::length_error("folder files end before 2 GB");
  std::string bytes = piece.bytes();
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<char>(offset >> (8 * i));
  file_.seekp(end_);
  file_.write("\0\0\0", offset - end_);
  file_.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  end_ = offset + size;
  return static_cast<std::int32_t>(offset);
}

void StoreStreamWriter::Patch(std::int64_t offset, std::int32_t value) {
  char bytes[4];
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
  file_.seekp(offset);
  file_.write(bytes, 4);
}

int StoreStreamWriter::AddMessage(std::string_view text, const MessageFields& fields) {
  Message message;
  std::size_t pieces =
      std::max<std::size_t>(1, (text.size() + kBlockTextSize - 1) / kBlockTextSize);
  // Blocks follow each other, so each one's next block is 528 bytes on.
  message.first_block = static_cast<std::int32_t>((end_ + 3) & ~std::int64_t{3});
  message.blocks = static_cast<std::int32_t>(pieces);
  for (std::size_t i = 0; i < pieces; ++i) {
    std::string_view piece = text.substr(std::min(text.size(), i * kBlockTextSize), kBlockTextSize);
    std::int32_t next =
        i + 1 < pieces ? message.first_block + kBlockSize * static_cast<std::int32_t>(i + 1) : 0;
    DbxImage block;
    block.Block(0, static_cast<std::int32_t>(piece.size()), next, piece);
    Append(block);
  }
  auto index = static_cast<int>(messages_.size());
  RecordContent content =
      MessageRecord(index, message.first_block, static_cast<std::uint32_t>(text.size()), fields,
                    RecordLayout::FlagsIndirect);
  DbxImage record;
  record.Record(0, content.attributes, content.values);
  message.record = Append(record);
  messages_.push_back(message);
  return index;
}

void StoreStreamWriter::DeleteMessage(int message) {
  Message& deleted = messages_.at(static_cast<std::size_t>(message));
  if (deleted.deleted)
    return;
  deleted.deleted = true;
  for (std::int32_t i = 0; i < deleted.blocks; ++i) {
    std::int32_t block = deleted.first_block + kBlockSize * i;
    char length[4];
    file_.seekg(block + 8);
    file_.read(length, 4);
    auto value =
        static_cast<unsigned char>(length[0]) | (static_cast<unsigned char>(length[1]) << 8);
    Patch(block + 8, value + 16);
    Patch(block + 16, deleted_head_);
    deleted_head_ = block;
  }
}

void StoreStreamWriter::Finish(int fan_out) {
  std::vector<std::int32_t> live;
  for (const Message& message : messages_)
    if (!message.deleted)
      live.push_back(message.record);
  std::int32_t root = WriteIndexTree(
      live, fan_out, [&](std::int32_t first_link, const std::vector<NodeEntry>& entries) {
        DbxImage node;
        node.Node(0, first_link, 0, entries);
        return Append(node);
      });
  Patch(kRootNodeField, root);
  Patch(kMessageCountField, static_cast<std::int32_t>(live.size()));
  Patch(kDeletedHeadField, deleted_head_);
  file_.close();
  if (!file_)
    throw std::runtime_error("cannot finish the folder file");
}

} // namespace dbxtest
