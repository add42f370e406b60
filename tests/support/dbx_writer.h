// A test-only writer of Outlook Express folder files.
//
// DbxImage lays out single structures at chosen offsets, byte-exact, so each rule of the reader
// can be tested on its own; StoreBuilder lays out whole, realistic folder files: a header, a
// message-info record and a block chain per message, an index tree, and a deleted chain built
// the way Outlook Express frees blocks.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dbxtest {

// Offsets of the header fields the reader uses.
constexpr std::int32_t kRootNodeField = 48;
constexpr std::int32_t kFallbackLengthField = 52;
constexpr std::int32_t kDeletedHeadField = 72;
constexpr std::int32_t kMessageCountField = 196;
constexpr std::int32_t kFallbackTable = 123476;
constexpr std::int32_t kBlockSize = 528;
constexpr std::int32_t kBlockTextSize = 512;

struct NodeEntry {
  std::int32_t record = 0;
  std::int32_t child = 0;
};

struct Attribute {
  std::uint8_t tag;
  std::uint32_t value; // the direct value, or the value-area offset of an indirect one
};

class DbxImage {
public:
  explicit DbxImage(std::size_t size = 0) : bytes_(size, '\0') {}

  void PutInt32(std::int64_t offset, std::int32_t value);
  void PutUInt32(std::int64_t offset, std::uint32_t value);
  void PutBytes(std::int64_t offset, std::string_view bytes);

  void SetMessageCount(std::int32_t count) { PutInt32(kMessageCountField, count); }
  void SetRootNode(std::int32_t offset) { PutInt32(kRootNodeField, offset); }
  void SetDeletedHead(std::int32_t offset) { PutInt32(kDeletedHeadField, offset); }

  // An index node; the count word defaults to the number of entries shifted left by 8.
  void Node(std::int32_t offset, std::int32_t first_link, std::int32_t second_link,
            const std::vector<NodeEntry>& entries,
            std::optional<std::uint32_t> count_word = std::nullopt);

  // A message-info record; the body length defaults to the table plus the value area.
  void Record(std::int32_t offset, const std::vector<Attribute>& attributes,
              std::string_view value_area, std::optional<std::int32_t> body_length = std::nullopt);

  // A live data block with `text` (at most 512 bytes) in its text area.
  void Block(std::int32_t offset, std::int32_t text_length, std::int32_t next,
             std::string_view text);

  // A deleted block: its length field, next block of the same message, and chain link; the
  // link overwrites the first four text bytes.
  void DeletedBlock(std::int32_t offset, std::int32_t length_field, std::int32_t next,
                    std::int32_t link, std::string_view text);

  // The fallback table at 123476 listing `records`; sets the header's table length.
  void FallbackTable(const std::vector<std::int32_t>& records);

  const std::string& bytes() const { return bytes_; }
  std::string& bytes() { return bytes_; }
  void WriteTo(const std::string& path) const;

private:
  void Reserve(std::int64_t end);
  std::string bytes_;
};

// Header fields of one message as Outlook Express records them in its info record.
struct MessageFields {
  std::string subject;
  std::string sender_name;
  std::string sender_address;
  std::string recipient;
  std::string message_id;
  std::uint64_t date = 0; // FILETIME
  std::uint32_t flags = 0x81;
};

// How a record names its first data block. Outlook Express writes 0x84 while the offset fits
// 24 bits and the indirect 0x04 beyond; with the flags indirect the value area begins flags,
// date, data offset, with them direct it begins date, data offset.
enum class RecordLayout { FlagsIndirect, FlagsDirect };

// The attribute table and value area of a message's info record, as Outlook Express writes
// them; `index` numbers the message (tag 0x80 holds index + 1).
struct RecordContent {
  std::vector<Attribute> attributes;
  std::string values;
};
RecordContent MessageRecord(int index, std::int32_t data_offset, std::uint32_t size,
                            const MessageFields& fields, RecordLayout layout);

// Lays out an index tree over `records` in order, at most `fan_out` entries a node, children
// before their parents; `write_node` stores one node (its first link and entries) and returns
// its offset. Returns the root's offset, 0 for no records.
using NodeWriter =
    std::function<std::int32_t(std::int32_t first_link, const std::vector<NodeEntry>& entries)>;
std::int32_t WriteIndexTree(const std::vector<std::int32_t>& records, int fan_out,
                            const NodeWriter& write_node);

class StoreBuilder {
public:
  StoreBuilder();

  // Stores `text` in a fresh chain of blocks and returns the message's number.
  int AddMessage(std::string_view text, const MessageFields& fields = {},
                 RecordLayout layout = RecordLayout::FlagsIndirect);

  // Frees a message's blocks in order, each pushed on the head of the deleted chain, and
  // drops it from the index.
  void DeleteMessage(int message);

  // Moves the end of the file on, so later structures lie at or beyond `offset`.
  void SkipTo(std::int64_t offset);

  // Writes the index tree of the live messages (at most `fan_out` entries a node) and the
  // header, and returns the image.
  DbxImage Build(int fan_out = 50);

  // Where the next structure goes: Build() puts the index tree from here on.
  std::int64_t End() const { return static_cast<std::int64_t>(image_.bytes().size()); }

  std::int32_t DataOffset(int message) const { return messages_[message].blocks.front(); }
  std::int32_t InfoOffset(int message) const { return messages_[message].record; }

  // The text a deleted message reads back as: the first four bytes of every block become
  // "____" where the chain link overwrote them.
  static std::string DeletedText(std::string_view text);

private:
  struct Message {
    std::int32_t record = 0;
    std::vector<std::int32_t> blocks;
    bool deleted = false;
  };

  std::int32_t Allocate(std::int32_t size);
  std::int32_t WriteRecord(int index, std::int32_t data_offset, std::uint32_t size,
                           const MessageFields& fields, RecordLayout layout);

  DbxImage image_;
  std::vector<Message> messages_;
  std::int32_t deleted_head_ = 0;
};

} // namespace dbxtest
