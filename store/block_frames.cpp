#include "block_frames.h"

#include "block_piece.h"
#include "dbx_layout.h"
#include "piece_reader.h"
#include "platform/pump.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace uoexpress {
namespace {

using namespace layout;

constexpr std::int64_t kPiece = 4 << 20;
constexpr std::int64_t kOffsetLimit = std::int64_t{1} << 32;
constexpr std::int32_t kFreedAreaLength = kBlockSize; // 16 bytes of frame and 512 of text
// Enough of a text to tell whether it opens with a header field's name and colon.
constexpr std::int64_t kHeaderNameLimit = 80;

bool IsFieldNameChar(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte >= 33 && byte <= 126 && byte != ':';
}

// Which ways of reading the block give a text that opens with a field name and a colon:
// kLiveHeader and kFreedHeader. Read the deleted way, the first four characters are "____",
// which a name may hold, so one look along the text answers for both ways.
std::uint8_t HeaderLineFlags(const unsigned char* block) {
  const char* text = reinterpret_cast<const char*>(block + kBlockText);
  const std::int64_t length = LoadInt32(block + kBlockLength);
  auto limit = [](std::int64_t piece) {
    return static_cast<std::size_t>(std::clamp<std::int64_t>(piece, 0, kHeaderNameLimit));
  };
  const std::size_t live_limit = limit(length);
  const std::size_t freed_limit = limit(length - kDeletedLengthBias);
  const std::size_t end = std::max(live_limit, freed_limit);
  // Most blocks hold body text with no colon this early: one quick search tells.
  if (std::memchr(text, ':', end) == nullptr)
    return 0;
  auto name_end = [&](std::size_t from) {
    while (from < end && IsFieldNameChar(text[from]))
      ++from;
    return from;
  };
  const std::size_t live_end = name_end(0);
  const std::size_t freed_end = live_end >= 4 ? live_end : name_end(4);
  std::uint8_t flags = 0;
  if (live_end > 0 && live_end < live_limit && text[live_end] == ':')
    flags |= kLiveHeader;
  if (freed_end < freed_limit && text[freed_end] == ':')
    flags |= kFreedHeader;
  return flags;
}

// Whether the block, read one way, contributes text of the message: a freed block's "____"
// alone is none.
bool HasText(const unsigned char* block, BlockWay way) {
  std::int64_t length = LoadInt32(block + kBlockLength);
  if (way == BlockWay::Live)
    return length > 0 && block[kBlockText] != 0;
  return length - kDeletedLengthBias > 4 && block[kBlockText + 4] != 0;
}

// The index of the first word from `first` on that holds its own file offset, or `count`.
// Written as plain loops over sixteen words at a time so the compiler can vectorize the
// comparisons: this test runs for every word of the file.
std::size_t FindSelfOffsetWord(const unsigned char* bytes, std::size_t first, std::size_t count,
                               std::uint32_t base) {
  std::size_t i = first;
  for (; std::endian::native == std::endian::little && i + 16 <= count; i += 16) {
    std::uint32_t words[16];
    std::memcpy(words, bytes + 4 * i, sizeof words);
    const std::uint32_t offset = base + 4 * static_cast<std::uint32_t>(i);
    std::uint32_t hits = 0;
    for (std::uint32_t k = 0; k < 16; ++k)
      hits |= words[k] == offset + 4 * k ? 1u : 0u;
    if (hits)
      break;
  }
  for (; i < count; ++i)
    if (LoadUInt32(bytes + 4 * i) == base + 4 * static_cast<std::uint32_t>(i))
      return i;
  return count;
}

} // namespace

std::optional<std::uint8_t> BlockFrameFlags(const unsigned char* block, std::uint32_t offset) {
  if (offset == 0 || LoadUInt32(block) != offset)
    return std::nullopt;
  std::int32_t capacity = LoadInt32(block + 4);
  std::int32_t length = LoadInt32(block + kBlockLength);
  bool freed = length > kBlockTextSize && length <= kFreedAreaLength;
  bool live = length >= 0 && length <= kBlockTextSize && capacity == kBlockTextSize;
  if (!freed && !live)
    return std::nullopt;
  std::uint8_t flags = HeaderLineFlags(block);
  if (freed)
    flags = (flags & ~kLiveHeader) | kFreedShape;
  else if (HasText(block, BlockWay::Live))
    flags |= kLiveText;
  if (HasText(block, BlockWay::Deleted))
    flags |= kFreedText;
  return flags;
}

bool FindBlockFrames(DbxStream& stream, BlockFrames& found, const DeepScanProgress& progress) {
  const std::int64_t end = std::min(stream.Size(), kOffsetLimit);
  found.frames.reserve(static_cast<std::size_t>(std::max<std::int64_t>(end, 0) / kBlockSize));
  // Each piece carries one block's worth of the next, so a block that starts near its end is
  // seen whole.
  PieceReader pieces(stream, end, kPiece, kBlockSize);
  std::int64_t resume = 4; // offset 0 is never a block
  std::int64_t start = 0;
  for (const unsigned char* piece; (piece = pieces.Next(start)) != nullptr;) {
    platform::PumpMessages();
    if (platform::StopRequested())
      return false;
    const std::int64_t piece_end = std::min(start + kPiece, end);
    const auto words = static_cast<std::size_t>((piece_end - start) / 4);
    const auto base = static_cast<std::uint32_t>(start);
    std::size_t i = static_cast<std::size_t>(std::max<std::int64_t>(resume - start, 0) / 4);
    while ((i = FindSelfOffsetWord(piece, i, words, base)) < words) {
      const unsigned char* block = piece + 4 * i;
      const auto offset = static_cast<std::uint32_t>(start + 4 * static_cast<std::int64_t>(i));
      std::optional<std::uint8_t> flags = BlockFrameFlags(block, offset);
      if (!flags) {
        ++i;
        continue;
      }
      found.frames.push_back(
          {offset, LoadUInt32(block + kBlockNext), LoadUInt32(block + kDeletedChainLink)});
      found.flags.push_back(*flags);
      resume = std::int64_t{offset} + kBlockSize;
      i += kBlockSize / 4;
    }
    resume = std::max(resume, piece_end);
    if (progress)
      progress(piece_end, end);
  }
  return true;
}

} // namespace uoexpress
