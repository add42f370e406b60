// SPDX-License-Identifier: MIT
// The deep scan on arbitrary bytes: after the two listings, the search for messages by their
// blocks, then the preview and the full text of every message it finds. What it finds must
// start at distinct places in source order, hold text, keep previews short, and share no block
// with a message the index lists or with another found message.
#include "memory_file.h"
#include "store/uoexpress.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMaxTextReads = 64;
constexpr std::size_t kBlockText = 512;
constexpr std::int64_t kBlockSize = 528;

std::uint32_t WordAt(const std::uint8_t* data, std::size_t size, std::int64_t at) {
  std::uint8_t bytes[4] = {};
  for (std::int64_t k = 0; k < 4; ++k)
    if (at + k >= 0 && at + k < static_cast<std::int64_t>(size))
      bytes[k] = data[at + k];
  std::uint32_t word;
  std::memcpy(&word, bytes, 4);
  return word;
}

// The blocks of a live message as its reader reads them: each holds its own offset, the next
// is named by a positive signed offset, and the chain ends at a block read already.
void AddListedBlocks(const std::uint8_t* data, std::size_t size, std::int64_t first,
                     std::set<std::int64_t>& blocks) {
  std::set<std::int64_t> chain;
  for (std::int64_t at = first;
       at > 0 && WordAt(data, size, at) == static_cast<std::uint32_t>(at) &&
       chain.insert(at).second;
       at = static_cast<std::int32_t>(WordAt(data, size, at + 12)))
    blocks.insert(at);
}

// The places of a found message's blocks, as the deep scan linked them.
std::vector<std::int64_t> FoundBlocks(const std::uint8_t* data, std::size_t size,
                                      const uoexpress::Toe5_FoundMessage& message) {
  std::vector<std::int64_t> places;
  std::int64_t at = message.DataOffset;
  auto jump = message.Jumps.begin();
  for (std::int32_t k = 0; k < message.BlockCount; ++k) {
    if (jump != message.Jumps.end() && jump->Block == k)
      at = (jump++)->Position;
    places.push_back(at);
    const std::int64_t start = at - WordAt(data, size, at);
    at = start + WordAt(data, size, at + 12);
  }
  return places;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzzing::ScopedMemoryFile file({reinterpret_cast<const char*>(data), size});
  std::vector<uoexpress::Toe5_MessageInfo> live, deleted;
  uoexpress::ReadMessageInfos("fuzz.dbx", live);
  uoexpress::ReadDeletedMessageInfos("fuzz.dbx", deleted);
  const auto listed = uoexpress::FirstBlocks(live, deleted);
  std::vector<uoexpress::Toe5_FoundMessage> found;
  uoexpress::ReadFoundMessageInfos("fuzz.dbx", listed, found);

  // Live messages are claimed whole; a deleted message's chain may run into a block since
  // reused by a live message, which the deep scan must still find, so only its first block is.
  std::set<std::int64_t> taken;
  for (const auto& info : live)
    AddListedBlocks(data, size, info.DataOffset, taken);
  for (const auto& info : deleted)
    taken.insert(info.DataOffset);

  std::int64_t previous = -1;
  std::size_t reads = 0;
  for (const auto& message : found) {
    if (message.DataOffset <= previous || message.DataOffset >= static_cast<std::int64_t>(size) ||
        message.BlockCount < 1)
      __builtin_trap();
    previous = message.DataOffset;
    for (std::int64_t block : FoundBlocks(data, size, message))
      if (block < 0 || block + 16 > static_cast<std::int64_t>(size) + kBlockSize ||
          !taken.insert(block).second)
        __builtin_trap();
    if (++reads > kMaxTextReads)
      continue;
    std::string preview, full;
    uoexpress::ReadFoundMessageText("fuzz.dbx", message, preview, false);
    uoexpress::ReadFoundMessageText("fuzz.dbx", message, full, true);
    if (full.empty() || !full.starts_with(preview) || preview.size() > 21 * kBlockText ||
        full.size() > static_cast<std::size_t>(message.BlockCount) * kBlockText)
      __builtin_trap();
  }
  return 0;
}
