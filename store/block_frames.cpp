// SPDX-License-Identifier: MIT
#include "block_frames.h"

#include "block_piece.h"
#include "dbx_layout.h"
#include "message_start.h"

#include <algorithm>
#include <cstring>

namespace uoexpress {
namespace {

using namespace layout;

constexpr std::int32_t kFreedAreaLength = kBlockSize; // 16 bytes of frame and 512 of text
// Enough of a text to tell whether it opens with a header field's name and colon.
constexpr std::size_t kHeaderLook = 88;
// A piece of the source holds at most one real block per 528 bytes. Past twice that, the piece
// is made to look like blocks, and only blocks that agree with another on their file's start,
// without overlapping it, are kept, up to that many.
constexpr std::size_t kFramesPerPiece = 2 * kPassPiece / kBlockSize;

// The bytes the capacity and length fields hold where a block stands: the capacity word
// 00 02 00 00 at +4, or a freed length 0x201..0x210 at +8. Both have a 0x02 byte, which text
// seldom holds, so the pass looks for that byte and judges the places it implies.
constexpr unsigned char kMarker = 0x02;
constexpr std::int64_t kCapacityMarker = 5; // the 0x02 of the capacity word
constexpr std::int64_t kLengthMarker = 9;   // the 0x02 of a freed length field

bool CapacityWord(const unsigned char* block) {
  return block[4] == 0 && block[5] == kMarker && block[6] == 0 && block[7] == 0;
}

// Keeps, of one piece's blocks, only those that share their file's start with another block of
// the piece and do not overlap the one before them, at most kFramesPerPiece.
void ThinOut(std::vector<BlockFrame>& frames) {
  std::vector<std::int64_t> starts;
  starts.reserve(frames.size());
  for (const BlockFrame& frame : frames)
    starts.push_back(frame.FileStart());
  std::sort(starts.begin(), starts.end());
  auto shared = [&](std::int64_t start) {
    auto range = std::equal_range(starts.begin(), starts.end(), start);
    return range.second - range.first > 1;
  };
  std::size_t kept = 0;
  for (std::size_t i = 0; i < frames.size() && kept < kFramesPerPiece; ++i) {
    if (!shared(frames[i].FileStart()))
      continue;
    if (kept > 0 && frames[kept - 1].position + kBlockSize > frames[i].position)
      continue;
    frames[kept++] = frames[i];
  }
  frames.erase(frames.begin() + static_cast<std::ptrdiff_t>(kept), frames.end());
}

} // namespace

std::optional<BlockLook> LookAtBlock(const unsigned char* block) {
  if (LoadUInt32(block) == 0)
    return std::nullopt;
  const std::int64_t length = LoadInt32(block + kBlockLength);
  const bool freed = length > kBlockTextSize && length <= kFreedAreaLength;
  const bool live = length >= 0 && length <= kBlockTextSize && CapacityWord(block);
  if (!freed && !live)
    return std::nullopt;
  // One search for the first NUL of the text answers for both ways of reading it; read the
  // deleted way, NULs among the four bytes "____" replaces do not count.
  const char* text = reinterpret_cast<const char*>(block + kBlockText);
  auto first_nul = [&](std::int64_t from) -> std::int64_t {
    const void* nul = std::memchr(text + from, 0, static_cast<std::size_t>(kBlockTextSize - from));
    return nul == nullptr ? kBlockTextSize : static_cast<const char*>(nul) - text;
  };
  const std::int64_t nul = first_nul(0);
  const std::int64_t nul_past_link = nul >= 4 ? nul : first_nul(4);
  const std::int64_t live_length = std::min(length, kBlockTextSize);
  const std::int64_t freed_length =
      std::clamp<std::int64_t>(length - kDeletedLengthBias, 0, kBlockTextSize);
  const std::int64_t live_size = std::min(live_length, nul);
  const std::int64_t freed_size = std::min(freed_length, nul_past_link);

  std::uint16_t flags = freed ? kFreedShape : 0;
  if (live) {
    if (live_size > 0)
      flags |= kLiveText;
    if (length == kBlockTextSize && nul == kBlockTextSize)
      flags |= kFull;
    // Stored text holds no NUL. A live-shaped block whose text, read the live way, ends in the
    // four bytes a chain link overwrites, or right where a length 16 bytes shorter would end
    // it, while read the deleted way it runs whole to its length, was freed.
    if (freed_length > 4 && nul < live_length && (nul < 4 || nul == freed_length) &&
        nul_past_link >= freed_length)
      flags |= kLooksFreed;
  }
  if (freed_size > 4)
    flags |= kFreedText;
  if (length == kFreedAreaLength && nul_past_link == kBlockTextSize)
    flags |= kFull;
  // Only a text with a colon early on can open with a header field.
  const auto look = static_cast<std::size_t>(std::min<std::int64_t>(kHeaderLook, kBlockTextSize));
  if (std::memchr(text, ':', look) != nullptr) {
    if (live && BeginsMessage({text, static_cast<std::size_t>(
                                         std::min<std::int64_t>(live_size, kHeaderLook))}))
      flags |= kLiveHeader;
    char freed_look[kHeaderLook];
    const auto size = static_cast<std::size_t>(std::min<std::int64_t>(freed_size, kHeaderLook));
    std::memcpy(freed_look, text, size);
    std::fill(freed_look, freed_look + std::min<std::size_t>(size, 4), '_');
    switch (BeginsFreedMessage({freed_look, size})) {
    case FreedStart::Named:
      flags |= kFreedHeader | kFreedNamed;
      break;
    case FreedStart::Colon:
      flags |= kFreedHeader;
      break;
    case FreedStart::None:
      break;
    }
  }
  return BlockLook{flags, static_cast<std::uint16_t>(freed ? freed_size : live_size)};
}

void LookAtPiece(const unsigned char* piece, std::int64_t start, std::int64_t length,
                 std::vector<BlockFrame>& frames) {
  frames.clear();
  auto consider = [&](std::int64_t at) {
    if (at < 0 || at >= length)
      return;
    const unsigned char* block = piece + at;
    if (std::optional<BlockLook> look = LookAtBlock(block)) {
      const std::uint32_t self = LoadUInt32(block);
      const bool followed = LoadUInt32(block + kBlockSize) == self + kBlockSize;
      frames.push_back(
          {start + at, self, LoadUInt32(block + kBlockNext), LoadUInt32(block + kDeletedChainLink),
           static_cast<std::uint16_t>(look->flags | (followed ? kFollowed : 0)), look->text_size});
    }
  };
  // Every 0x02 byte up to the last place a field of this piece's blocks can hold one.
  const unsigned char* scan = piece;
  const unsigned char* scan_end = piece + length + kLengthMarker;
  while (scan < scan_end) {
    const auto* hit = static_cast<const unsigned char*>(
        std::memchr(scan, kMarker, static_cast<std::size_t>(scan_end - scan)));
    if (hit == nullptr)
      break;
    const std::int64_t at = hit - piece;
    // A freed length field only where no capacity word stands, so a block is met once.
    if (at >= kLengthMarker && !CapacityWord(hit - kLengthMarker) && hit[1] == 0 && hit[2] == 0 &&
        hit[-1] >= 0x01 && hit[-1] <= 0x10)
      consider(at - kLengthMarker);
    if (at >= kCapacityMarker && CapacityWord(hit - kCapacityMarker))
      consider(at - kCapacityMarker);
    scan = hit + 1;
  }
  // The two ways of meeting a block can meet two blocks a few bytes apart out of order.
  const auto by_position = [](const BlockFrame& a, const BlockFrame& b) {
    return a.position < b.position;
  };
  if (!std::is_sorted(frames.begin(), frames.end(), by_position))
    std::sort(frames.begin(), frames.end(), by_position);
  if (frames.size() > kFramesPerPiece)
    ThinOut(frames);
}

} // namespace uoexpress
