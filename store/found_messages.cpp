// SPDX-License-Identifier: MIT
// The deep scan: messages found by their data blocks instead of the index.
//
// Every block names the next block of its message by its offset in its folder file, so blocks
// of one piece (blocks that agree on where their file starts) link into chains, and a block no
// other block names begins one. A fragmented file keeps runs of its bytes in several places: a
// chain that leaves its piece goes on in another piece only where exactly one block there can
// be the one it names.
//
// Outlook Express frees a deleted message's blocks in order, pushing each on the deleted chain,
// and rewrites a freed block only when it reuses it; so a freed block's chain link names the
// block freed before it, and a freed block still names its old next block, which may since have
// been reused by a live message. Chains therefore link live blocks to live blocks and freed
// blocks to freed blocks only.
#include "block_frames.h"
#include "block_piece.h"
#include "dbx_layout.h"
#include "platform/pump.h"
#include "read_blocks.h"
#include "stream_operations.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <map>

namespace uoexpress {
namespace {

using namespace layout;

constexpr std::int32_t kNone = -1;
constexpr std::uint32_t kNoBlock = 0xFFFFFFFF; // kNone, in a block's own fields
// The pump runs once for this many blocks in the linking steps.
constexpr std::size_t kPumpInterval = 1 << 15;
// Folder files whose header is looked at for the head of their deleted chain, at most.
constexpr std::size_t kHeadersLookedAt = 4096;
// Disks and file systems place files in sectors of 512 bytes, in clusters of up to 64 KiB.
constexpr std::int64_t kSectorSize = 512;
constexpr std::int64_t kLargestCluster = 64 << 10;

// What the linking steps learn of a block, beside its shape.
enum LinkFlag : std::uint16_t {
  kShared = 64,         // another block agrees on where its file starts
  kFreed = 128,         // freed by its shape, or named by a freed block's chain link
  kClaimed = 256,       // part of a message the index or the deleted chain lists
  kVisited = 512,       // already part of a found chain
  kDropped = 1024,      // not a block after all: bytes of another block, or a block cut short
  kNamedInPiece = 2048, // a block of its own piece names it as next
  kCut = 16384,         // left out as cut short where its file's run of bytes ends
};

class ChainFinder {
public:
  // `stoppable`: Stop ends the steps; false when they link the blocks a stopped pass found.
  ChainFinder(DbxStream& stream, BlockFrames& frames, bool stoppable)
      : stream_(stream), frames_(frames), stoppable_(stoppable) {}

  // Which blocks share their file's start with another, and the file starts that have a
  // header; false when Stop ended the step.
  bool MarkShared() {
    // Blocks of one piece mostly stand in runs: each run counts once, with its length.
    std::vector<std::pair<std::int64_t, std::uint32_t>> runs; // (file start, blocks)
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      if (!Pump(i))
        return false;
      if (i > 0 && frames_[i].FileStart() == frames_[i - 1].FileStart())
        ++runs.back().second;
      else
        runs.emplace_back(frames_[i].FileStart(), 1);
    }
    std::vector<std::pair<std::int64_t, std::uint32_t>> starts = runs;
    std::sort(starts.begin(), starts.end());
    std::size_t kept = 0;
    for (std::size_t k = 0; k < starts.size(); ++k) {
      if (kept > 0 && starts[kept - 1].first == starts[k].first)
        starts[kept - 1].second += starts[k].second;
      else
        starts[kept++] = starts[k];
    }
    starts.erase(starts.begin() + static_cast<std::ptrdiff_t>(kept), starts.end());
    for (const auto& [start, blocks] : starts)
      if (blocks > 1 && file_starts_.size() < kHeadersLookedAt)
        file_starts_.push_back(start);
    std::size_t i = 0;
    for (const auto& [start, blocks] : runs) {
      const bool shared = blocks > 1 || std::lower_bound(starts.begin(), starts.end(),
                                                         std::pair{start, std::uint32_t{0}})
                                                ->second > 1;
      for (std::uint32_t k = 0; k < blocks; ++k, ++i)
        if (shared)
          frames_[i].flags |= kShared;
    }
    return true;
  }

  // Where each block's next-block offset leads within its piece; false when Stop ended it.
  bool FindNextBlocks() {
    next_.assign(frames_.size(), kNone);
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      if (!Pump(i))
        return false;
      if (frames_[i].next == 0)
        continue;
      std::int32_t next = InPiece(i, frames_[i].next, i + 1);
      if (next != static_cast<std::int32_t>(i))
        next_[i] = next;
    }
    return true;
  }

  // Blocks never overlap: of two that do, one is bytes of the other, or was cut short where
  // its file's run ends and another run begins. False when Stop ended the step.
  bool DropOverlaps() {
    std::vector<bool> named(frames_.size());
    for (std::int32_t next : next_)
      if (next != kNone)
        named[static_cast<std::size_t>(next)] = true;
    auto evidence = [&](std::size_t i) { return next_[i] != kNone || named[i]; };
    std::size_t kept = 0;
    for (std::size_t i = 1; i < frames_.size(); ++i) {
      if (!Pump(i))
        return false;
      if (frames_[kept].position + kBlockSize <= frames_[i].position) {
        kept = i;
        continue;
      }
      if (Loses(kept, i, evidence)) {
        frames_[kept].flags |= kDropped;
        kept = i;
      } else {
        frames_[i].flags |= kDropped;
      }
    }
    return true;
  }

  // A fragmented file keeps each cluster of its bytes in one place, so a block that runs into
  // its file's next cluster is whole only where that cluster follows in the source. Pieces
  // placed alike within a sector differ by whole clusters: the largest power of two (up to
  // 64 KiB) that all their starts differ by is the cluster size. A block running over a
  // cluster's end is kept when the structure after it holds its own offset, or a block of its
  // piece stands in the next cluster; otherwise its end is bytes of something else, and it is
  // left out. False when Stop ended the step.
  bool DropCutBlocks() {
    const ClusterSizes clusters = ClusterGeometry();
    if (clusters.smallest == 0)
      return true;
    // First the blocks whose bytes do not go on in place past a cluster's end, then the offsets
    // those that could be mended name, then each is mended or left out. Leaving one out changes
    // what the others' test sees in no way: that test looks at later blocks only.
    struct Cut {
      std::size_t block;
      std::int64_t boundary;
      bool mendable;
    };
    std::vector<Cut> cuts;
    std::vector<std::uint32_t> named;
    std::int64_t start = 0, cluster = clusters.smallest;
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      if (!Pump(i))
        return false;
      const BlockFrame& frame = frames_[i];
      if (frame.flags & kDropped)
        continue;
      if (i == 0 || frame.FileStart() != start) {
        start = frame.FileStart();
        auto place = clusters.by_place.find(SectorPlace(start));
        cluster = place == clusters.by_place.end() ? clusters.smallest : place->second;
      }
      // Cluster sizes are powers of two.
      const std::int64_t end = std::int64_t{frame.self} + kBlockSize;
      const std::int64_t boundary = (std::int64_t{frame.self} | (cluster - 1)) + 1;
      if (boundary >= end)
        continue;
      // Clusters smaller than a block: one may lie wholly inside it, and is in place when the
      // cluster after it is (the same piece goes on there); a cut there cannot be mended.
      const std::int64_t last = (end - 1) & ~(cluster - 1);
      if (FollowedByItsFile(i, std::max(last, boundary), cluster))
        continue;
      const bool mendable =
          last <= boundary && frame.next >= boundary && frame.next < boundary + cluster;
      cuts.push_back({i, boundary, mendable});
      if (mendable)
        named.push_back(frame.next);
    }
    if (!named.empty())
      by_self_ = BySelf(named, [&](std::size_t k) { return !(frames_[k].flags & kDropped); });
    for (const Cut& cut : cuts)
      if (!cut.mendable || !MendCutBlock(cut.block, cut.boundary))
        frames_[cut.block].flags |= kDropped | kCut;
    by_self_ = {};
    return true;
  }

  // What blocks name as next once the blocks left out are gone; false when Stop ended it.
  bool SettleNextBlocks() {
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      if (!Pump(i))
        return false;
      if (next_[i] != kNone && Dropped(next_[i]))
        next_[i] = kNone;
    }
    for (std::size_t i = 0; i < frames_.size(); ++i)
      if (next_[i] != kNone && !Dropped(static_cast<std::int32_t>(i)))
        frames_[static_cast<std::size_t>(next_[i])].flags |= kNamedInPiece;
    // A mended block goes on where its end was found.
    for (const auto& [i, split] : splits_) {
      if (Dropped(split.next))
        continue;
      next_[i] = split.next;
      frames_[static_cast<std::size_t>(split.next)].flags |= kNamedInPiece;
      Join(frames_[i].FileStart(), frames_[static_cast<std::size_t>(split.next)].FileStart());
    }
    return true;
  }

  // `deleted_listed`: the deleted chain of the source read as a folder file listed messages,
  // so its head counts whatever the header's first bytes hold. False when Stop ended the step.
  bool MarkFreedBlocks(bool deleted_listed) {
    for (std::size_t i = 0; i < frames_.size(); ++i)
      if (frames_[i].flags & (kFreedShape | kLooksFreed))
        frames_[i].flags |= kFreed;
    // The head of each file's deleted chain, where the file's header survives.
    for (std::int64_t start : file_starts_) {
      if (start < 0 || !(HasSignature(start) || (start == 0 && deleted_listed)))
        continue;
      const auto head = static_cast<std::uint32_t>(stream_.ReadInt32(start + kDeletedChainHead));
      if (std::int32_t block = AtOffset(start, head); block != kNone)
        frames_[static_cast<std::size_t>(block)].flags |= kFreed;
    }
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      if (!Pump(i))
        return false;
      if (Freed(static_cast<std::int32_t>(i)))
        FollowChainLinks(static_cast<std::int32_t>(i));
    }
    // A block freed right after the block that names it as next, whose length field still
    // counts only its text (the last block of a message, say), is freed as well.
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      std::int32_t next = next_[i];
      if (next != kNone && Freed(static_cast<std::int32_t>(i)) &&
          frames_[static_cast<std::size_t>(next)].link == frames_[i].self)
        frames_[static_cast<std::size_t>(next)].flags |= kFreed;
    }
    MarkFreedOneBlockMessages();
    return true;
  }

  // Marks the blocks of the listed messages as their readers read them: from the first block,
  // by signed next-block offsets, while each block holds its own offset, to a block read
  // already. A listed message lies in the source read as a folder file, so its blocks stand at
  // their own offsets. A deleted message claims no live block: its last block may since have
  // been reused by a live message, which the deep scan must still find whole.
  bool Claim(std::span<const Toe5_ListedBlock> listed) {
    for (std::size_t k = 0; k < listed.size(); ++k) {
      if (!Pump(k))
        return false;
      const std::int64_t first = listed[k].DataOffset;
      if (first > 0 && first <= std::numeric_limits<std::int32_t>::max())
        ClaimChain(first, listed[k].Deleted);
    }
    return true;
  }

  bool AnyUnclaimed() const {
    for (std::size_t i = 0; i < frames_.size(); ++i)
      if (!(frames_[i].flags & (kClaimed | kDropped)))
        return true;
    return false;
  }

  // A full block whose next block is not in its piece goes on in another piece when exactly one
  // block elsewhere holds the offset it names, and that block begins no message and is named by
  // no block of its own piece, nor so by another block: the same file, its next run of bytes
  // elsewhere. Such a block named by a block cut at its run's end tells the same of the two
  // pieces, which are then one file. False when Stop ended the step.
  bool LinkAcrossPieces() {
    auto asks = [&](std::size_t i) {
      const BlockFrame& from = frames_[i];
      const bool links_on = Available(i) && next_[i] == kNone && (from.flags & kFull);
      return from.next != 0 &&
             (links_on || ((from.flags & kCut) && InPiece(i, from.next, i + 1) == kNone));
    };
    // Only the offsets blocks ask for are looked up: in a file whose blocks all stand in one
    // piece, nothing asks.
    std::vector<std::uint32_t> asking, asked;
    for (std::size_t i = 0; i < frames_.size(); ++i)
      if (asks(i)) {
        asking.push_back(static_cast<std::uint32_t>(i));
        asked.push_back(frames_[i].next);
      }
    if (asking.empty())
      return true;
    const std::vector<std::uint32_t> by_self =
        BySelf(asked, [&](std::size_t i) { return Available(i) || (frames_[i].flags & kCut); });
    std::vector<std::pair<std::uint32_t, std::uint32_t>> links; // (to, from)
    for (std::size_t k = 0; k < asking.size(); ++k) {
      if (!Pump(k))
        return false;
      const std::size_t i = asking[k];
      const BlockFrame& from = frames_[i];
      const bool links_on = Available(i) && next_[i] == kNone && (from.flags & kFull);
      auto it = FirstHolding(by_self, from.next);
      std::int32_t target = kNone;
      int found_elsewhere = 0, candidates = 0;
      for (; it != by_self.end() && frames_[*it].self == from.next; ++it) {
        const std::size_t other = *it;
        if (frames_[other].FileStart() == from.FileStart())
          continue;
        const auto candidate = static_cast<std::int32_t>(other);
        ++found_elsewhere;
        if (Available(other) && !(frames_[other].flags & kNamedInPiece) && !BeginsMessage(other) &&
            Freed(candidate) == Freed(static_cast<std::int32_t>(i))) {
          target = candidate;
          ++candidates;
        }
      }
      if (found_elsewhere != 1 || candidates != 1)
        continue;
      Join(from.FileStart(), frames_[static_cast<std::size_t>(target)].FileStart());
      if (links_on)
        links.emplace_back(static_cast<std::uint32_t>(target), static_cast<std::uint32_t>(i));
    }
    std::sort(links.begin(), links.end());
    for (std::size_t k = 0; k < links.size(); ++k) {
      const bool alone = (k == 0 || links[k - 1].first != links[k].first) &&
                         (k + 1 == links.size() || links[k + 1].first != links[k].first);
      if (alone)
        next_[links[k].second] = static_cast<std::int32_t>(links[k].first);
    }
    return true;
  }

  // Each block gets at most one block before it: the first block naming it as next, or for a
  // freed block the one its chain link names (the block freed just before it). A freed block
  // whose first field names itself as one that opens messages gets none: freed blocks of two
  // messages do not join. A bare colon after the "____" is no such sign; body lines have them.
  //
  // From here on no block's next offset or chain link is read: to keep the memory a block
  // takes small, those two fields then hold the blocks before and after it in its chain.
  bool Link() {
    for (std::size_t i = 0; i < frames_.size(); ++i)
      frames_[i].next = kNoBlock;
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      if (!Pump(i))
        return false;
      std::int32_t next = next_[i];
      if (next == kNone || !Available(i) || !Available(static_cast<std::size_t>(next)) ||
          Freed(next) != Freed(static_cast<std::int32_t>(i)))
        continue;
      if (Freed(next) && (frames_[static_cast<std::size_t>(next)].flags & kFreedNamed))
        continue;
      const auto n = static_cast<std::size_t>(next);
      if (Previous(n) == kNoBlock || (Freed(next) && frames_[n].link == frames_[i].self))
        frames_[n].next = static_cast<std::uint32_t>(i);
    }
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      const std::int32_t next = next_[i];
      frames_[i].link = next != kNone && Previous(static_cast<std::size_t>(next)) == i
                            ? static_cast<std::uint32_t>(next)
                            : kNoBlock;
    }
    std::vector<std::int32_t>().swap(next_);
    return true;
  }

  // One record per chain not claimed: chains from their first block, then chains that close
  // on themselves (no block begins them), each from its lowest block; in source order.
  bool Chains(std::vector<Toe5_FoundMessage>& list) {
    // Each round gives its chains in source order; the few closed ones are merged in. Room for
    // the first round's chains is made once, so that the records are not moved as they come.
    std::size_t rounds[2] = {list.size(), 0};
    std::size_t starts = 0;
    for (std::size_t i = 0; i < frames_.size(); ++i)
      starts += Previous(i) == kNoBlock && Available(i);
    list.reserve(list.size() + starts);
    for (int round = 0; round < 2; ++round) {
      if (round == 1)
        rounds[1] = list.size();
      for (std::size_t i = 0; i < frames_.size(); ++i) {
        if (!Pump(i))
          return false;
        if ((round == 0 && Previous(i) != kNoBlock) || !Available(i) ||
            (frames_[i].flags & kVisited))
          continue;
        AddChain(static_cast<std::int32_t>(i), list);
      }
    }
    std::inplace_merge(list.begin() + static_cast<std::ptrdiff_t>(rounds[0]),
                       list.begin() + static_cast<std::ptrdiff_t>(rounds[1]), list.end(),
                       [](const Toe5_FoundMessage& a, const Toe5_FoundMessage& b) {
                         return a.DataOffset < b.DataOffset;
                       });
    return true;
  }

private:
  // Pumps and looks at the stop flag once every kPumpInterval steps; false once Stop is set,
  // unless the steps link what a stopped pass found, which they do to the end.
  bool Pump(std::size_t step) const {
    if (step % kPumpInterval != 0)
      return true;
    platform::PumpMessages();
    return !stoppable_ || !platform::StopRequested();
  }

  bool Freed(std::int32_t i) const { return frames_[static_cast<std::size_t>(i)].flags & kFreed; }
  bool Dropped(std::int32_t i) const {
    return frames_[static_cast<std::size_t>(i)].flags & kDropped;
  }
  bool Available(std::size_t i) const { return !(frames_[i].flags & (kDropped | kClaimed)); }

  // Whether the block's text begins a message, read the way it was stored.
  bool BeginsMessage(std::size_t i) const {
    const bool freed = Freed(static_cast<std::int32_t>(i));
    return frames_[i].flags & (freed ? kFreedHeader : kLiveHeader);
  }

  bool HasSignature(std::int64_t start) {
    unsigned char signature[sizeof kSignature];
    stream_.Read(start, signature, sizeof signature);
    return std::equal(signature, signature + sizeof signature, kSignature);
  }

  static std::int64_t SectorPlace(std::int64_t start) {
    return ((start % kSectorSize) + kSectorSize) % kSectorSize;
  }

  // The cluster size of the pieces placed alike within a sector, where two or more are, and
  // the smallest of them for pieces placed otherwise; none where no two pieces are placed alike.
  struct ClusterSizes {
    std::map<std::int64_t, std::int64_t> by_place;
    std::int64_t smallest = 0;
  };
  ClusterSizes ClusterGeometry() const {
    std::map<std::int64_t, std::vector<std::int64_t>> by_place;
    for (std::int64_t start : file_starts_)
      by_place[SectorPlace(start)].push_back(start);
    ClusterSizes sizes;
    for (const auto& [place, starts] : by_place) {
      if (starts.size() < 2)
        continue;
      std::int64_t cluster = kLargestCluster;
      for (std::int64_t start : starts)
        while (cluster > kSectorSize && (start - starts.front()) % cluster != 0)
          cluster /= 2;
      sizes.by_place[place] = cluster;
      if (sizes.smallest == 0 || cluster < sizes.smallest)
        sizes.smallest = cluster;
    }
    return sizes;
  }

  // Whether the bytes of block i's file go on in the source past the cluster boundary at
  // `boundary` (an offset in its file): the structure right after the block holds its own
  // offset, or a block of the same piece stands in the next cluster.
  bool FollowedByItsFile(std::size_t i, std::int64_t boundary, std::int64_t cluster) {
    const BlockFrame& frame = frames_[i];
    const std::int64_t after = frame.position + kBlockSize;
    if (std::int32_t j = At(after, i + 1); j != kNone) {
      if (frames_[static_cast<std::size_t>(j)].FileStart() == frame.FileStart())
        return true;
    } else if (frame.flags & kFollowed) {
      return true;
    }
    const std::int64_t from = frame.FileStart() + boundary;
    for (std::size_t k = frames_.LowerBound(from, i + 1);
         k < frames_.size() && frames_[k].position < from + cluster; ++k)
      if (frames_[k].FileStart() == frame.FileStart() && !(frames_[k].flags & kDropped))
        return true;
    return false;
  }

  // The blocks `wanted` takes that hold one of the `offsets`, by the offset they hold, to look
  // blocks up by the offset a block names across pieces. Few blocks are asked for, so only
  // those are sorted.
  template <class Wanted>
  std::vector<std::uint32_t> BySelf(std::vector<std::uint32_t>& offsets,
                                    const Wanted& wanted) const {
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    std::vector<std::uint32_t> blocks;
    for (std::size_t i = 0; i < frames_.size(); ++i)
      if (std::binary_search(offsets.begin(), offsets.end(), frames_[i].self) && wanted(i))
        blocks.push_back(static_cast<std::uint32_t>(i));
    std::sort(blocks.begin(), blocks.end(),
              [&](std::uint32_t a, std::uint32_t b) { return frames_[a].self < frames_[b].self; });
    return blocks;
  }
  std::vector<std::uint32_t>::const_iterator FirstHolding(const std::vector<std::uint32_t>& by_self,
                                                          std::uint32_t offset) const {
    return std::lower_bound(
        by_self.begin(), by_self.end(), offset,
        [&](std::uint32_t other, std::uint32_t value) { return frames_[other].self < value; });
  }

  // A block cut at its run's end (`boundary`, an offset in its file) is whole again when its
  // next block stands in the file's next cluster in exactly one other piece: that piece holds
  // the next run of the file's bytes from `boundary` on, the block's end among them. The mended
  // block must read as a block: its text without a NUL within its length. The block's next
  // offset lies in that cluster, and by_self_ holds the blocks that hold it.
  bool MendCutBlock(std::size_t i, std::int64_t boundary) {
    const BlockFrame& frame = frames_[i];
    auto it = FirstHolding(by_self_, frame.next);
    std::int32_t next = kNone;
    for (; it != by_self_.end() && frames_[*it].self == frame.next; ++it) {
      if (frames_[*it].FileStart() == frame.FileStart() || (frames_[*it].flags & kDropped))
        continue;
      if (next != kNone)
        return false; // two places could hold the file's next run
      next = static_cast<std::int32_t>(*it);
    }
    if (next == kNone)
      return false;
    const BlockFrame& after = frames_[static_cast<std::size_t>(next)];
    const std::int64_t tail = after.FileStart() + boundary;
    // No block of another piece may start between where the run begins and the next block.
    const auto n = static_cast<std::size_t>(next);
    if (n > 0 && frames_[n - 1].position >= tail && frames_[n - 1].FileStart() != after.FileStart())
      return false;
    unsigned char block[kBlockSize];
    const auto head = static_cast<std::int32_t>(boundary - frame.self);
    stream_.Read(frame.position, block, static_cast<std::size_t>(head));
    stream_.Read(tail, block + head, static_cast<std::size_t>(kBlockSize - head));
    std::optional<BlockLook> look = LookAtBlock(block);
    if (!look || !ReadsWhole(block, look->flags))
      return false;
    const std::uint16_t kept = frames_[i].flags & ~std::uint16_t{0x3F | kFreedNamed | kLooksFreed};
    frames_[i].flags = static_cast<std::uint16_t>(kept | look->flags);
    frames_[i].text_size = look->text_size;
    splits_[static_cast<std::uint32_t>(i)] = {head, tail, next};
    return true;
  }

  // Whether a block's text, read the way its shape says, holds no NUL within its length.
  static bool ReadsWhole(const unsigned char* block, std::uint16_t flags) {
    const std::int64_t length = LoadInt32(block + kBlockLength);
    const bool freed = flags & (kFreedShape | kLooksFreed);
    const std::int64_t from = freed ? 4 : 0;
    const std::int64_t to =
        std::min<std::int64_t>(freed ? length - kDeletedLengthBias : length, kBlockTextSize);
    return to <= from || std::memchr(block + kBlockText + from, 0,
                                     static_cast<std::size_t>(to - from)) == nullptr;
  }

  // Which of two overlapping blocks is not a block: true when `earlier` is the one.
  template <class Evidence>
  bool Loses(std::size_t earlier, std::size_t later, const Evidence& evidence) const {
    const BlockFrame& a = frames_[earlier];
    const BlockFrame& b = frames_[later];
    if (a.FileStart() != b.FileStart()) {
      const bool a_shared = a.flags & kShared;
      const bool b_shared = b.flags & kShared;
      // Two runs of files meet: the earlier block runs into the later run's bytes.
      if (a_shared != b_shared)
        return b_shared;
      return a_shared;
    }
    // One piece: the block that links to or from others, else the one with more text.
    if (evidence(earlier) != evidence(later))
      return evidence(later);
    return b.text_size > a.text_size;
  }

  // The block at `position` in the source, or kNone. Blocks mostly name their neighbours, so
  // the block at `likely` is tried before the search.
  std::int32_t At(std::int64_t position, std::size_t likely) const {
    const std::size_t found = frames_.LowerBound(position, likely);
    if (found == frames_.size() || frames_[found].position != position)
      return kNone;
    return static_cast<std::int32_t>(found);
  }

  // The block of the file starting at `start` that holds `offset` as its own, or kNone.
  std::int32_t AtOffset(std::int64_t start, std::uint32_t offset, std::size_t likely = 0) const {
    if (offset == 0)
      return kNone;
    std::int32_t i = At(start + std::int64_t{offset}, likely);
    if (i == kNone || frames_[static_cast<std::size_t>(i)].self != offset || Dropped(i))
      return kNone;
    return i;
  }

  // The block of block i's own piece that holds `offset`.
  std::int32_t InPiece(std::size_t i, std::uint32_t offset, std::size_t likely) const {
    return AtOffset(frames_[i].FileStart(), offset, likely);
  }

  // The block a block's chain link names: for a freed block, the block freed before it, which
  // is mostly the block before it in the file.
  std::int32_t LinkedBlock(std::size_t i) const {
    return InPiece(i, frames_[i].link, i == 0 ? 0 : i - 1);
  }

  // A one-block message that was freed leaves a block no other block names and that ends its
  // message. It is freed when its text begins a message only once the chain link over its
  // first four bytes is set aside, or when its chain link names a freed block (the block freed
  // before it); such blocks in a row (newer ones name older ones) are freed once the oldest
  // one is.
  void MarkFreedOneBlockMessages() {
    std::vector<std::pair<std::int32_t, std::int32_t>> waiting; // (link target, block)
    std::vector<std::int32_t> work;
    for (std::size_t i = 0; i < frames_.size(); ++i) {
      auto block = static_cast<std::int32_t>(i);
      const std::uint16_t flags = frames_[i].flags;
      if (Freed(block) || (flags & (kNamedInPiece | kDropped)) || frames_[i].next != 0)
        continue;
      if (!(flags & kLiveHeader) && (flags & kFreedHeader))
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
      frames_[static_cast<std::size_t>(block)].flags |= kFreed;
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
      frames_[static_cast<std::size_t>(i)].flags |= kFreed;
  }

  void ClaimChain(std::int64_t first, bool deleted) {
    ReadBlocks read_blocks;
    std::size_t likely = 0; // chains mostly run on to the block after the last one
    for (std::int64_t current = first; current > 0;) {
      unsigned char head[kBlockText];
      std::int32_t frame = At(current, likely);
      if (frame != kNone && frames_[static_cast<std::size_t>(frame)].self != current)
        frame = kNone;
      if (frame == kNone) {
        // A block the reader reads that fails the shape test: its fields are read as the reader
        // reads them, and the chain goes on past it.
        stream_.Read(current, head, sizeof head);
      } else {
        const BlockFrame& block = frames_[static_cast<std::size_t>(frame)];
        StoreUInt32(head, block.self); // the fields the next steps read
        StoreUInt32(head + kBlockNext, block.next);
      }
      if (LoadUInt32(head) != static_cast<std::uint32_t>(current) || !read_blocks.Insert(current))
        return;
      if (frame != kNone) {
        BlockFrame& block = frames_[static_cast<std::size_t>(frame)];
        if (deleted && current != first && !Freed(frame))
          return;
        if (block.flags & kClaimed)
          return; // the rest was claimed with the chain that met it first
        block.flags |= kClaimed;
        likely = static_cast<std::size_t>(frame) + 1;
      }
      current = NextBlockOffset(head, OffsetSign::Signed);
    }
  }

  static void StoreUInt32(unsigned char* bytes, std::uint32_t value) {
    for (int k = 0; k < 4; ++k)
      bytes[k] = static_cast<unsigned char>(value >> (8 * k));
  }

  // The pieces of one file that chains link across, as one: each file start leads to the
  // lowest start joined with it, which names the file.
  void Join(std::int64_t a, std::int64_t b) {
    a = Representative(a);
    b = Representative(b);
    if (a != b)
      joined_[std::max(a, b)] = std::min(a, b);
  }
  std::int64_t Representative(std::int64_t start) const {
    for (auto it = joined_.find(start); it != joined_.end(); it = joined_.find(start))
      start = it->second;
    return start;
  }

  // Once linked: the blocks before and after a block in its chain, or kNoBlock.
  std::uint32_t Previous(std::size_t i) const { return frames_[i].next; }
  std::int32_t NextInChain(std::int32_t i) const {
    const std::uint32_t next = frames_[static_cast<std::size_t>(i)].link;
    return next == kNoBlock ? kNone : static_cast<std::int32_t>(next);
  }

  void AddChain(std::int32_t start, std::vector<Toe5_FoundMessage>& list) {
    const bool freed = Freed(start);
    const std::uint16_t text = freed ? kFreedText : kLiveText;
    Toe5_FoundMessage message;
    message.DataOffset = frames_[static_cast<std::size_t>(start)].position;
    message.FreedBlocks = freed;
    message.Fragment = !BeginsMessage(static_cast<std::size_t>(start));
    message.FileStart = Representative(frames_[static_cast<std::size_t>(start)].FileStart());
    bool has_text = false;
    std::int32_t before = kNone;
    for (std::int32_t i = start; i != kNone && Available(static_cast<std::size_t>(i)) &&
                                 !(frames_[static_cast<std::size_t>(i)].flags & kVisited);
         i = NextInChain(i)) {
      BlockFrame& frame = frames_[static_cast<std::size_t>(i)];
      frame.flags |= kVisited;
      if (auto split = splits_.find(static_cast<std::uint32_t>(i)); split != splits_.end())
        message.Jumps.push_back(
            {message.BlockCount, frame.position, split->second.at, split->second.position});
      else if (before != kNone &&
               frames_[static_cast<std::size_t>(before)].FileStart() != frame.FileStart())
        message.Jumps.push_back({message.BlockCount, frame.position});
      ++message.BlockCount;
      has_text = has_text || (frame.flags & text);
      before = i;
    }
    // A lone block that neither begins a message nor links to any other is most likely bytes
    // that merely look like a block.
    const BlockFrame& first = frames_[static_cast<std::size_t>(start)];
    const bool lone = !(first.flags & kShared) && message.BlockCount == 1 && message.Fragment;
    if (has_text && !lone)
      list.push_back(std::move(message));
  }

  DbxStream& stream_;
  BlockFrames& frames_;
  const bool stoppable_;
  std::vector<std::int32_t> next_; // the block each block's next-block offset names
  std::vector<std::int64_t> file_starts_;
  // Blocks mended from two runs: where the first run ends within the block, where the rest
  // stands, and the block that follows.
  struct Split {
    std::int32_t at;
    std::int64_t position;
    std::int32_t next;
  };
  std::map<std::uint32_t, Split> splits_;
  std::vector<std::uint32_t> by_self_; // blocks by the offset they hold, while mending
  std::map<std::int64_t, std::int64_t> joined_;
};

} // namespace

std::vector<Toe5_ListedBlock> FirstBlocks(const std::vector<Toe5_MessageInfo>& live,
                                          const std::vector<Toe5_MessageInfo>& deleted) {
  std::vector<Toe5_ListedBlock> blocks;
  blocks.reserve(live.size() + deleted.size());
  for (const Toe5_MessageInfo& info : live)
    blocks.push_back({info.DataOffset, false});
  for (const Toe5_MessageInfo& info : deleted)
    blocks.push_back({info.DataOffset, true});
  return blocks;
}

void ReadFoundMessageInfos(const std::string& path, std::span<const Toe5_ListedBlock> listed,
                           std::vector<Toe5_FoundMessage>& list, const DeepScanProgress& progress,
                           const DeepScanReadError& read_error) {
  DbxStream stream(path);
  ListFoundMessages(stream, listed, list, progress, read_error);
}

void ListFoundMessages(DbxStream& stream, std::span<const Toe5_ListedBlock> listed,
                       std::vector<Toe5_FoundMessage>& list, const DeepScanProgress& progress,
                       const DeepScanReadError& read_error) {
  // A Stop during the pass keeps what it found so far: the blocks found are linked all the
  // same, which takes a small part of the pass's time, and the caller sees Stop still set.
  BlockFrames frames;
  const bool whole = FindBlockFrames(stream, frames, progress, read_error);
  ChainFinder finder(stream, frames, whole);
  if (!finder.MarkShared() || !finder.FindNextBlocks() || !finder.DropOverlaps() ||
      !finder.DropCutBlocks() || !finder.SettleNextBlocks() ||
      !finder.MarkFreedBlocks(
          std::any_of(listed.begin(), listed.end(),
                      [](const Toe5_ListedBlock& block) { return block.Deleted; })) ||
      !finder.Claim(listed))
    return;
  // In a file whose index and deleted chain still reach every block, nothing is left to link.
  if (finder.AnyUnclaimed() && finder.LinkAcrossPieces() && finder.Link())
    finder.Chains(list);
}

} // namespace uoexpress
