// Rebuilding a message's text from its chain of 528-byte blocks, live, deleted or found by the
// deep scan.
#include "block_piece.h"
#include "dbx_layout.h"
#include "dbx_stream.h"
#include "platform/pump.h"
#include "read_blocks.h"
#include "stream_operations.h"

#include <algorithm>
#include <limits>
#include <span>

namespace uoexpress {
namespace {

using namespace layout;

// How a chain is followed. Listed messages lie in a folder file read as such: each block
// stands at the offset it holds. A found chain's blocks stand wherever the deep scan found
// them: at the offsets they hold past their file's start in the source, and past another start
// from each jump on.
struct ChainPlan {
  std::int64_t max_blocks = std::numeric_limits<std::int64_t>::max();
  OffsetSign sign = OffsetSign::Signed;
  bool found = false;
  std::span<const Toe5_ChainJump> jumps = {};
};

void ReadChain(DbxStream& stream, std::int64_t offset, std::string& text, bool full_text,
               BlockWay way, ChainPlan plan = {}) {
  std::int64_t counted = 0;
  std::int64_t position = offset;
  std::int64_t file_start = 0;
  std::int64_t named = -1; // the offset the block before named; none for the first block
  auto jump = plan.jumps.begin();
  ReadBlocks read_blocks;
  unsigned char block[kBlockSize];
  for (std::int64_t blocks = 0; blocks < plan.max_blocks; ++blocks) {
    platform::PumpMessages();
    if (platform::StopRequested()) {
      text.clear();
      return;
    }
    std::int32_t split_at = 0;
    std::int64_t split_position = 0;
    if (jump != plan.jumps.end() && jump->Block == blocks) {
      position = jump->Position;
      if (jump->SplitAt > 0 && jump->SplitAt < kBlockSize) {
        split_at = jump->SplitAt;
        split_position = jump->SplitPosition;
      }
      ++jump;
    }
    stream.Read(position, block, sizeof block);
    if (split_at > 0)
      stream.Read(split_position, block + split_at,
                  static_cast<std::size_t>(kBlockSize - split_at));
    const std::int64_t self = LoadUInt32(block);
    const bool holds_its_offset = plan.found ? self != 0 && (named < 0 || self == named)
                                             : self == static_cast<std::uint32_t>(position);
    if (!holds_its_offset || !read_blocks.Insert(position))
      return;
    file_start = position - self;
    text.append(BlockPiece(block, way));
    const std::int64_t next = NextBlockOffset(block, plan.sign);
    if (next == 0)
      return;
    counted += kBlockTextSize;
    if (!full_text && counted > kPreviewLimit)
      return;
    named = next;
    position = plan.found ? file_start + next : next;
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
            message.FreedBlocks ? BlockWay::Deleted : BlockWay::Live,
            {message.BlockCount, OffsetSign::Unsigned, true, message.Jumps});
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
  if (message.DataOffset < 0)
    return;
  DbxStream stream(path);
  ReadFoundText(stream, message, text, FullText);
}

} // namespace uoexpress
