// The deep scan: messages found by their data blocks instead of the index.
//
// Every block names the next block of its message, so the blocks found link into chains, and a
// block no other block names begins one. Outlook Express frees a deleted message's blocks in
// order, pushing each on the deleted chain, and rewrites a freed block only when it reuses it;
// so a freed block's chain link names the block freed before it, and a freed block still names
// its old next block, which may since have been reused by a live message. Chains therefore link
// live blocks to live blocks and freed blocks to freed blocks only.
#include "block_frames.h"
#include "block_piece.h"
#include "dbx_layout.h"
#include "platform/pump.h"
#include "stream_operations.h"

#include <algorithm>

namespace uoexpress {
namespace {

using namespace layout;

constexpr std::int32_t kNone = -1;
// The pump runs once for this many blocks in the linking steps.
constexpr std::size_t kPumpInterval = 1 << 15;
// The file is cut into spans of 64 KiB to find the block at an offset quickly.
constexpr int kSpanBits = 16;

// What the linking steps learn of a block, beside its shape.
enum LinkFlag : std::uint8_t {
  kFreed = 32,    // freed by its shape, or named by a freed block's chain link
  kClaimed = 64,  // part of a message the index or the deleted chain lists
  kVisited = 128, // already part of a found chain
};

class ChainFinder {
public:
  explicit ChainFinder(BlockFrames& found) : frames_(found.frames), flags_(found.flags) {
    // The first block at or after each 64 KiB of the file, so that a search for the block at
    // an offset looks among a few hundred blocks at most.
    const std::uint64_t end = frames_.empty() ? 0 : std::uint64_t{frames_.back().offset} + 1;
    first_in_span_.resize(static_cast<std::size_t>((end >> kSpanBits) + 2));
    std::size_t i = 0;
    for (std::size_t span = 0; span < first_in_span_.size(); ++span) {
      while (i < frames_.size() && (std::uint64_t{frames_[i].offset} >> kSpanBits) < span)
        ++i;
      first_in_span_[span] = static_cast<std::int32_t>(i);
    }
  }

  // Where each block's next-block offset leads; false when Stop ended the step.
  bool FindNextBlocks() {
    next_.reserve(frames_.size());
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      if (!Pump(i))
        return false;
      next_.push_back(IndexOf(frames_[i].next, i + 1));
    }
    return true;
  }

  // False when Stop ended the step.
  bool MarkFreedBlocks(std::uint32_t deleted_chain_head) {
    for (std::size_t i = 0; i < frames_.size(); ++i)
      if (flags_[i] & kFreedShape)
        flags_[i] |= kFreed;
    std::int32_t head = IndexOf(deleted_chain_head, 0);
    if (head != kNone)
      flags_[head] |= kFreed;
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      if (!Pump(i))
        return false;
      if (flags_[i] & kFreed)
        FollowChainLinks(static_cast<std::int32_t>(i));
    }
    // A block freed right after the block that names it as next, whose length field still
    // counts only its text (the last block of a message, say), is freed as well.
    std::vector<bool> named(frames_.size());
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      std::int32_t next = next_[i];
      if (next == kNone)
        continue;
      named[next] = true;
      if (Freed(static_cast<std::int32_t>(i)) && frames_[next].link == frames_[i].offset)
        flags_[next] |= kFreed;
    }
    MarkFreedOneBlockMessages(named);
    return true;
  }

  // Each block gets at most one block before it: the lowest block naming it as next, or for a
  // freed block the one its chain link names (the block freed just before it).
  bool Link() {
    previous_.assign(frames_.size(), kNone);
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      if (!Pump(i))
        return false;
      std::int32_t next = next_[i];
      if (next == kNone || next == static_cast<std::int32_t>(i) ||
          Freed(next) != Freed(static_cast<std::int32_t>(i)))
        continue;
      if (previous_[next] == kNone || (Freed(next) && frames_[next].link == frames_[i].offset))
        previous_[next] = static_cast<std::int32_t>(i);
    }
    return true;
  }

  // Marks the blocks of the listed messages as the readers follow them: from the first block,
  // by next-block offsets, to a block that is not there or was met already.
  bool Claim(std::span<const std::int64_t> listed) {
    for (std::size_t k = 0; k < listed.size(); ++k) {
      if (!Pump(k))
        return false;
      if (listed[k] <= 0 || listed[k] > static_cast<std::int64_t>(UINT32_MAX))
        continue;
      for (std::int32_t i = IndexOf(static_cast<std::uint32_t>(listed[k]), 0);
           i != kNone && !(flags_[i] & kClaimed);
           i = IndexOf(frames_[i].next, static_cast<std::size_t>(i) + 1))
        flags_[i] |= kClaimed;
    }
    return true;
  }

  bool AnyUnclaimed() const {
    return std::any_of(flags_.begin(), flags_.end(),
                       [](std::uint8_t flags) { return !(flags & kClaimed); });
  }

  // One record per chain not claimed: chains from their first block, in file order, then
  // chains that close on themselves (no block begins them), each from its lowest block.
  bool Chains(std::vector<Toe5_FoundMessage>& list) {
    const std::size_t first = list.size();
    for (int round = 0; round < 2; ++round)
      for (std::size_t i = 0; i < frames_.size(); ++i) {
        if (!Pump(i))
          return false;
        auto start = static_cast<std::int32_t>(i);
        if ((round == 0 && previous_[i] != kNone) || (flags_[i] & (kClaimed | kVisited)))
          continue;
        AddChain(start, list);
      }
    std::stable_sort(list.begin() + static_cast<std::ptrdiff_t>(first), list.end(),
                     [](const Toe5_FoundMessage& a, const Toe5_FoundMessage& b) {
                       return a.DataOffset < b.DataOffset;
                     });
    return true;
  }

private:
  // Pumps and looks at the stop flag once every kPumpInterval steps; false once Stop is set.
  static bool Pump(std::size_t step) {
    if (step % kPumpInterval != 0)
      return true;
    platform::PumpMessages();
    return !platform::StopRequested();
  }

  bool Freed(std::int32_t i) const { return flags_[i] & kFreed; }

  // The block standing at `offset`. Blocks mostly name their neighbours, so the block at
  // `likely` is tried before the search.
  std::int32_t IndexOf(std::uint32_t offset, std::size_t likely) const {
    if (offset == 0)
      return kNone;
    if (likely < frames_.size() && frames_[likely].offset == offset)
      return static_cast<std::int32_t>(likely);
    const std::size_t span = offset >> kSpanBits;
    if (span + 1 >= first_in_span_.size())
      return kNone;
    const auto first = frames_.begin() + first_in_span_[span];
    const auto last = frames_.begin() + first_in_span_[span + 1];
    auto found =
        std::lower_bound(first, last, offset, [](const BlockFrame& frame, std::uint32_t value) {
          return frame.offset < value;
        });
    if (found == last || found->offset != offset)
      return kNone;
    return static_cast<std::int32_t>(found - frames_.begin());
  }

  // The block a block's chain link names: for a freed block, the block freed before it, which
  // is mostly the block before it in the file.
  std::int32_t LinkedBlock(std::size_t i) const { return IndexOf(frames_[i].link, i - 1); }

  // A one-block message that was freed leaves a block no other block names and that ends its
  // message. It is freed when its text begins with a header line only once the chain link over
  // its first four bytes is set aside, or when its chain link names a freed block (the block
  // freed before it); such blocks in a row (newer ones name older ones) are freed once the
  // oldest one is.
  void MarkFreedOneBlockMessages(const std::vector<bool>& named) {
    std::vector<std::pair<std::int32_t, std::int32_t>> waiting; // (link target, block)
    std::vector<std::int32_t> work;
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      auto block = static_cast<std::int32_t>(i);
      if (Freed(block) || named[i] || frames_[i].next != 0)
        continue;
      if (!(flags_[i] & kLiveHeader) && (flags_[i] & kFreedHeader))
        work.push_back(block);
      else if (std::int32_t target = LinkedBlock(i); target != kNone)
        waiting.emplace_back(target, block);
    }
    std::sort(waiting.begin(), waiting.end());
    for (const auto& [target, block] : waiting)
      if (Freed(target))
        work.push_back(block);
    while (!work.empty()) {
      std::int32_t block = work.back();
      work.pop_back();
      if (Freed(block))
        continue;
      flags_[block] |= kFreed;
      auto newer =
          std::equal_range(waiting.begin(), waiting.end(), std::pair{block, std::int32_t{kNone}},
                           [](const auto& a, const auto& b) { return a.first < b.first; });
      for (auto it = newer.first; it != newer.second; ++it)
        work.push_back(it->second);
    }
  }

  void FollowChainLinks(std::int32_t from) {
    for (std::int32_t i = LinkedBlock(static_cast<std::size_t>(from)); i != kNone && !Freed(i);
         i = LinkedBlock(static_cast<std::size_t>(i)))
      flags_[i] |= kFreed;
  }

  std::int32_t NextInChain(std::int32_t i) const {
    std::int32_t next = next_[i];
    return next != kNone && previous_[next] == i ? next : kNone;
  }

  void AddChain(std::int32_t start, std::vector<Toe5_FoundMessage>& list) {
    const bool freed = Freed(start);
    const std::uint8_t text = freed ? kFreedText : kLiveText;
    const std::uint8_t header = freed ? kFreedHeader : kLiveHeader;
    std::int32_t blocks = 0;
    bool has_text = false;
    for (std::int32_t i = start; i != kNone && !(flags_[i] & (kClaimed | kVisited));
         i = NextInChain(i)) {
      flags_[i] |= kVisited;
      ++blocks;
      has_text = has_text || (flags_[i] & text);
    }
    if (has_text)
      list.push_back({frames_[start].offset, blocks, freed, !(flags_[start] & header)});
  }

  const std::vector<BlockFrame>& frames_;
  std::vector<std::uint8_t>& flags_;
  std::vector<std::int32_t> next_;     // the block each block's next-block offset names
  std::vector<std::int32_t> previous_; // the block before each in its chain
  std::vector<std::int32_t> first_in_span_;
};

} // namespace

std::vector<std::int64_t> FirstBlocks(const std::vector<Toe5_MessageInfo>& live,
                                      const std::vector<Toe5_MessageInfo>& deleted) {
  std::vector<std::int64_t> blocks;
  blocks.reserve(live.size() + deleted.size());
  for (const auto* list : {&live, &deleted})
    for (const Toe5_MessageInfo& info : *list)
      blocks.push_back(info.DataOffset);
  return blocks;
}

void ReadFoundMessageInfos(const std::string& path, std::span<const std::int64_t> listed,
                           std::vector<Toe5_FoundMessage>& list, const DeepScanProgress& progress) {
  DbxStream stream(path);
  ListFoundMessages(stream, listed, list, progress);
}

void ListFoundMessages(DbxStream& stream, std::span<const std::int64_t> listed,
                       std::vector<Toe5_FoundMessage>& list, const DeepScanProgress& progress) {
  BlockFrames found;
  if (!FindBlockFrames(stream, found, progress))
    return;
  ChainFinder finder(found);
  const auto head = static_cast<std::uint32_t>(stream.ReadInt32(kDeletedChainHead));
  // The listed messages are claimed first: in a file their index and deleted chain still
  // reach whole, that leaves no block to link.
  if (finder.Claim(listed) && finder.AnyUnclaimed() && finder.FindNextBlocks() &&
      finder.MarkFreedBlocks(head) && finder.Link())
    finder.Chains(list);
}

} // namespace uoexpress
