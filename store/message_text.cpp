// Rebuilding a message's text from its chain of 528-byte blocks, live, deleted or found by the
// deep scan.
#include "block_piece.h"
#include "dbx_layout.h"
#include "dbx_stream.h"
#include "platform/pump.h"
#include "stream_operations.h"

#include <algorithm>
#include <limits>
#include <unordered_set>
#include <vector>

namespace uoexpress {
namespace {

using namespace layout;

// How far a chain may run and how its offsets are read. The index and the deleted chain name
// blocks with signed offsets, so only positive ones are usable; the deep scan finds blocks up
// to 4 GiB and follows their next-block offsets as unsigned numbers.
struct ChainLimits {
  std::int64_t max_blocks = std::numeric_limits<std::int64_t>::max();
  bool unsigned_offsets = false;
};

// The blocks a chain has read, so that it ends at a block it has already read and a looping
// chain cannot run forever. Chains mostly run forward through the file: a block past every
// one read so far is new without a look, and only chains that turn back are looked up.
class ReadBlocks {
public:
  ReadBlocks() { in_order_.reserve(32); }

  // False when `block` was read before.
  bool Insert(std::int64_t block) {
    const bool hashed = !looked_up_.empty();
    if (block > highest_) {
      highest_ = block;
    } else {
      if (!hashed && in_order_.size() > kSearchedInPlace) {
        looked_up_.insert(in_order_.begin(), in_order_.end());
        in_order_ = {};
        return looked_up_.insert(block).second;
      }
      if (hashed ? looked_up_.count(block) > 0
                 : std::find(in_order_.begin(), in_order_.end(), block) != in_order_.end())
        return false;
    }
    if (hashed)
      looked_up_.insert(block);
    else
      in_order_.push_back(block);
    return true;
  }

private:
  static constexpr std::size_t kSearchedInPlace = 64;
  std::int64_t highest_ = std::numeric_limits<std::int64_t>::min();
  std::vector<std::int64_t> in_order_;
  // Once a long chain turns back, its blocks move here (and it is never empty again).
  std::unordered_set<std::int64_t> looked_up_;
};

void ReadChain(DbxStream& stream, std::int64_t offset, std::string& text, bool full_text,
               BlockWay way, ChainLimits limits = {}) {
  std::int64_t counted = 0;
  std::int64_t current = offset;
  ReadBlocks read_blocks;
  unsigned char block[kBlockSize];
  for (std::int64_t blocks = 0; blocks < limits.max_blocks; ++blocks) {
    platform::PumpMessages();
    if (platform::StopRequested()) {
      text.clear();
      return;
    }
    stream.Read(current, block, sizeof block);
    if (LoadUInt32(block) != static_cast<std::uint32_t>(current) || !read_blocks.Insert(current))
      return;
    text.append(BlockPiece(block, way));
    std::int64_t next = limits.unsigned_offsets ? std::int64_t{LoadUInt32(block + kBlockNext)}
                                                : std::int64_t{LoadInt32(block + kBlockNext)};
    if (next == 0)
      return;
    counted += kBlockTextSize;
    if (!full_text && counted > kPreviewLimit)
      return;
    current = next;
  }
}

} // namespace

void ReadLiveText(DbxStream& stream, std::int32_t message_count, std::int32_t offset,
                  std::string& text, bool full_text) {
  text.clear();
  if (message_count > 0)
    ReadChain(stream, offset, text, full_text, BlockWay::Live);
}

void ReadDeletedText(DbxStream& stream, std::int32_t offset, std::string& text, bool full_text) {
  text.clear();
  ReadChain(stream, offset, text, full_text, BlockWay::Deleted);
}

void ReadFoundText(DbxStream& stream, const Toe5_FoundMessage& message, std::string& text,
                   bool full_text) {
  text.clear();
  ReadChain(stream, message.DataOffset, text, full_text,
            message.FreedBlocks ? BlockWay::Deleted : BlockWay::Live, {message.BlockCount, true});
}

void ReadMessageText(const std::string& path, std::int32_t offset, std::string& text,
                     bool FullText) {
  if (offset <= 0)
    return;
  DbxStream stream(path);
  ReadLiveText(stream, ReadFileHeader(stream).MessageCount, offset, text, FullText);
}

void ReadDeletedMessageText(const std::string& path, std::int32_t offset, std::string& text,
                            bool FullText) {
  if (offset <= 0)
    return;
  DbxStream stream(path);
  ReadDeletedText(stream, offset, text, FullText);
}

void ReadFoundMessageText(const std::string& path, const Toe5_FoundMessage& message,
                          std::string& text, bool FullText) {
  if (message.DataOffset <= 0 || message.DataOffset > std::numeric_limits<std::uint32_t>::max())
    return;
  DbxStream stream(path);
  ReadFoundText(stream, message, text, FullText);
}

} // namespace uoexpress
