// SPDX-License-Identifier: MIT
// Finding the 528-byte data blocks of folder files in any bytes, for the deep scan: one
// sequential pass over the source, a small record per block found.
//
// A block holds its own offset in its folder file, its text capacity (512) and its text length
// (or, once freed, the length of the freed area). A block found at position p whose first word
// is v belongs to a folder file that starts at p - v in the source: blocks that agree on where
// their file starts are one piece of one file, however the file was shifted, cut or scattered.
#pragma once

#include "dbx_stream.h"
#include "uoexpress.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace uoexpress {

// What a block's shape and text say.
enum FrameFlag : std::uint16_t {
  kFreedShape = 1,    // the length field counts a freed area: the block was deleted
  kLiveText = 2,      // read the live way, it gives text, without a NUL within its length
  kLiveHeader = 4,    // read the live way, its text begins a message
  kFreedText = 8,     // read the deleted way, it contributes text beyond the "____"
  kFreedHeader = 16,  // read the deleted way, its text begins a message
  kFull = 32,         // its text fills the block, as every block of a message but the last does
  kFreedNamed = 4096, // read the deleted way, its first field's name tells that it begins one
  kLooksFreed = 8192, // its text reads whole only the deleted way
  kFollowed = 32768,  // the structure right after it holds its own offset: its file goes on
};

// What the deep scan keeps of one block: 24 bytes.
struct BlockFrame {
  std::int64_t position;   // where the block stands in the source
  std::uint32_t self;      // the offset it holds as its own: its place in its folder file
  std::uint32_t next;      // its next-block offset
  std::uint32_t link;      // its first four text bytes: a freed block's deleted-chain link
  std::uint16_t flags;     // FrameFlag, and the deep scan's own marks above them
  std::uint16_t text_size; // the text it gives, read the way its shape says

  // Where the folder file the block belongs to starts in the source.
  std::int64_t FileStart() const { return position - std::int64_t{self}; }
};

// The blocks found, in source order, in chunks of a fixed size: the store grows without moving
// what it holds, so a large source's blocks are written once, not copied at each growth, and a
// block is found by its index with a shift and a mask.
class BlockFrames {
public:
  std::size_t size() const { return size_; }
  BlockFrame& operator[](std::size_t i) { return chunks_[i >> kShift][i & kMask]; }
  const BlockFrame& operator[](std::size_t i) const { return chunks_[i >> kShift][i & kMask]; }

  void push_back(const BlockFrame& frame) {
    if ((size_ >> kShift) == chunks_.size())
      chunks_.emplace_back(new BlockFrame[kChunk]); // left unset: every block is written
    (*this)[size_++] = frame;
  }

  // The index of the first block standing at or after `position`, or size(). Most lookups
  // land a few blocks after `hint`, which is tried first.
  std::size_t LowerBound(std::int64_t position, std::size_t hint = 0) const {
    std::size_t low = 0, high = size_;
    if (hint > 0 && hint <= size_ && (*this)[hint - 1].position < position) {
      const std::size_t near = std::min(size_, hint + 8);
      for (low = hint; low < near && (*this)[low].position < position;)
        ++low;
      if (low < near || low == size_)
        return low;
    }
    while (low < high) {
      const std::size_t middle = low + (high - low) / 2;
      if ((*this)[middle].position < position)
        low = middle + 1;
      else
        high = middle;
    }
    return low;
  }

private:
  static constexpr int kShift = 14;
  static constexpr std::size_t kChunk = std::size_t{1} << kShift;
  static constexpr std::size_t kMask = kChunk - 1;
  std::vector<std::unique_ptr<BlockFrame[]>> chunks_;
  std::size_t size_ = 0;
};

// What the 528 bytes at `block` say when they are a plausible data block: the first field
// names a place in a file (not 0), and a live block holds 512 as its text capacity and at most
// 512 as its text length, while a freed block's length field counts the freed area (513 to
// 528). Nothing otherwise.
struct BlockLook {
  std::uint16_t flags;     // FrameFlag
  std::uint16_t text_size; // the text it gives, read the way its shape says
};
std::optional<BlockLook> LookAtBlock(const unsigned char* block);

// The pass reads the source in pieces of this size.
constexpr std::int64_t kPassPiece = 1 << 20;

// The plausible blocks of one piece of the source that starts at `start` in it, at whatever
// byte each starts, in source order: `frames` gets them. The piece holds `length` bytes and a
// block's worth and 16 bytes more of what follows it. A piece with more shapes than blocks fit
// is thinned out.
void LookAtPiece(const unsigned char* piece, std::int64_t start, std::int64_t length,
                 std::vector<BlockFrame>& frames);

// Reads the source in large pieces from its start to its end and appends every plausible block
// in source order, at whatever byte it starts. False when Stop ended the pass. Unreadable bytes
// are told to `read_error`, once each and in source order, and read as zeros. The pieces are
// looked at by `lanes` threads (0: as many as the machine has cores, up to four); progress,
// `read_error` and the pump are called on the caller's thread.
bool FindBlockFrames(DbxStream& stream, BlockFrames& found, const DeepScanProgress& progress,
                     const DeepScanReadError& read_error, unsigned lanes = 0);

} // namespace uoexpress
