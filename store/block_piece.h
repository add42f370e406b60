// The text one 528-byte block contributes to its message.
#pragma once

#include "dbx_layout.h"
#include "dbx_stream.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace uoexpress {

// Live blocks hold their text's length; freed (deleted) blocks hold the length of the whole
// freed area, 16 bytes more, and their first four text bytes carry the deleted-chain link.
enum class BlockWay { Live, Deleted };

// How a chain's next-block offsets are read. The index and the deleted chain name blocks of a
// folder file with signed offsets, so only positive ones lead on; the deep scan takes them
// unsigned, reaching blocks up to 4 GiB. Readers, claims and links all go through
// NextBlockOffset, so a chain is the same chain to each of them.
enum class OffsetSign { Signed, Unsigned };

// The offset of the block after this one in its message, or 0 when the chain ends here (a
// negative signed offset ends it too).
inline std::int64_t NextBlockOffset(const unsigned char* block, OffsetSign sign) {
  const std::int64_t next = sign == OffsetSign::Signed
                                ? std::int64_t{LoadInt32(block + layout::kBlockNext)}
                                : std::int64_t{LoadUInt32(block + layout::kBlockNext)};
  return next > 0 ? next : 0;
}

// The text a block contributes: its stated length, at most the 512 text bytes, cut at the
// first NUL. In a deleted block the first four text bytes become "____" (the block is changed
// in place).
inline std::string_view BlockPiece(unsigned char* block, BlockWay way) {
  using namespace layout;
  char* text = reinterpret_cast<char*>(block + kBlockText);
  std::int64_t length = LoadInt32(block + kBlockLength);
  if (way == BlockWay::Deleted) {
    std::fill(text, text + 4, '_');
    length -= kDeletedLengthBias;
  }
  if (length <= 0)
    return {};
  std::size_t size = static_cast<std::size_t>(std::min(length, kBlockTextSize));
  // memchr, as every block of every message is searched, and it runs at memory speed.
  if (const void* nul = std::memchr(text, '\0', size))
    size = static_cast<std::size_t>(static_cast<const char*>(nul) - text);
  return {text, size};
}

} // namespace uoexpress
