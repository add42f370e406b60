// Finding the 528-byte data blocks of a folder file by their shape alone, for the deep scan:
// one sequential pass over the file, a small record per block found.
#pragma once

#include "dbx_stream.h"
#include "uoexpress.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace uoexpress {

// What the deep scan keeps of one block.
struct BlockFrame {
  std::uint32_t offset; // where the block stands
  std::uint32_t next;   // its next-block offset
  std::uint32_t link;   // its first four text bytes: a freed block's deleted-chain link
};

// What a block's shape says. A freed block is read the deleted way; a live-shaped one may still
// turn out to be freed (its chain tells), so its text is judged both ways.
enum FrameFlag : std::uint8_t {
  kFreedShape = 1,   // the length field counts a freed area: the block was deleted
  kLiveText = 2,     // read the live way, the block contributes text
  kLiveHeader = 4,   // read the live way, its text begins with a header line ("Name: ...")
  kFreedText = 8,    // read the deleted way, it contributes text beyond the "____"
  kFreedHeader = 16, // read the deleted way, its text begins with a header line
};

// The blocks found, in file order, with their flags at the same index.
struct BlockFrames {
  std::vector<BlockFrame> frames;
  std::vector<std::uint8_t> flags;
};

// The flags of the block standing at `offset` when the 528 bytes at `block` are a plausible
// data block: the first field holds its own offset, and a live block holds 512 as its text
// capacity and at most 512 as its text length, while a freed block's length field counts the
// freed area (513 to 528). Nothing otherwise.
std::optional<std::uint8_t> BlockFrameFlags(const unsigned char* block, std::uint32_t offset);

// Reads the file in large pieces from its start to its end or 4 GiB, whichever comes first,
// and lists every plausible block. Blocks never overlap, so the search resumes after a block's
// 528 bytes. False when Stop ended the pass.
bool FindBlockFrames(DbxStream& stream, BlockFrames& found, const DeepScanProgress& progress);

} // namespace uoexpress
