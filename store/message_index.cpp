// Listing the live messages: a walk of the index tree from the root named in the header, then,
// when the walk found fewer messages than the header declares, a scan of the fallback table.
#include "dbx_layout.h"
#include "dbx_stream.h"
#include "message_record.h"
#include "platform/pump.h"
#include "stream_operations.h"

#include <unordered_set>

namespace uoexpress {
namespace {

using namespace layout;

class IndexWalk {
public:
  IndexWalk(DbxStream& stream, std::vector<Toe5_MessageInfo>& list)
      : DbxStream_(stream), list_(list) {}

  // The walk order is: the node's first link, its second link, the node its count word
  // points at, then its entries, each entry's message before the subtree below it. An
  // explicit stack keeps hostile trees of any depth off the call stack.
  void WalkIndexNode(std::int64_t root) {
    EnterNode(root);
    while (!path_.empty()) {
      NodeFrame& node = path_.back();
      switch (node.step) {
      case Step::FirstLink:
        node.step = Step::SecondLink;
        if (node.first_link > 0 && !VisitedNodes.contains(node.first_link))
          EnterNode(node.first_link);
        break;
      case Step::SecondLink:
        node.step = Step::Probe;
        if (node.second_link > 0 && !VisitedNodes.contains(node.second_link))
          EnterNode(node.second_link);
        break;
      case Step::Probe:
        node.step = Step::Entries;
        ProbeCountWord(node);
        break;
      case Step::Entries:
        if (node.next_entry >= node.entry_count) {
          path_.pop_back();
          break;
        }
        VisitEntry(node);
        break;
      }
    }
  }

  void ScanIndexTable() {
    platform::PumpMessages();
    if (platform::StopRequested())
      return;
    std::int32_t length = DbxStream_.ReadInt32(kFallbackTableLength);
    if (length == 0 || DbxStream_.ReadInt32(kFallbackTable) != kFallbackTable)
      return;
    std::int64_t end = std::int64_t{kFallbackTable} + length;
    for (std::int64_t pos = kFallbackTable + kFallbackFirstEntry; pos < end;
         pos += kFallbackEntrySize) {
      platform::PumpMessages();
      if (platform::StopRequested())
        return;
      // Past the end of the file every entry reads as zero.
      if (pos >= DbxStream_.Size())
        return;
      std::int32_t record = DbxStream_.ReadInt32(pos);
      if (record > 0)
        ReadMessageInfo(record);
    }
  }

private:
  enum class Step { FirstLink, SecondLink, Probe, Entries };

  struct NodeFrame {
    std::int64_t offset;
    std::int32_t first_link;
    std::int32_t second_link;
    std::uint32_t count_word;
    Step step = Step::FirstLink;
    std::uint32_t entry_count = 0;
    std::uint32_t next_entry = 0;
  };

  void EnterNode(std::int64_t offset) {
    platform::PumpMessages();
    if (platform::StopRequested())
      return;
    unsigned char header[kNodeHeaderSize];
    DbxStream_.Read(offset, header, sizeof header);
    if (LoadInt32(header) != offset)
      return;
    VisitedNodes.insert(offset);
    path_.push_back(NodeFrame{offset, LoadInt32(header + kNodeFirstLink),
                              LoadInt32(header + kNodeSecondLink),
                              LoadUInt32(header + kNodeCountWord)});
  }

  // The whole count word is also tried as the offset of a further node; when one stands
  // there, it is walked and this node's entry area is read as a full one.
  void ProbeCountWord(NodeFrame& node) {
    node.entry_count = node.count_word >> 8;
    if (node.entry_count == 0)
      return;
    std::int64_t probe = node.count_word;
    // Entries that lie wholly beyond the end of the file are absent; do not count them.
    std::int64_t entries_start = node.offset + kNodeHeaderSize;
    bool probe_hit = static_cast<std::uint32_t>(DbxStream_.ReadInt32(probe)) == node.count_word;
    if (probe_hit)
      node.entry_count = kProbedNodeEntries;
    std::int64_t present =
        (DbxStream_.Size() - entries_start + kNodeEntrySize - 1) / kNodeEntrySize;
    if (present < node.entry_count)
      node.entry_count = static_cast<std::uint32_t>(std::max<std::int64_t>(present, 0));
    if (probe_hit && !VisitedNodes.contains(probe))
      EnterNode(probe); // may reallocate path_: `node` is not used after this
  }

  void VisitEntry(NodeFrame& node) {
    unsigned char entry[kNodeEntrySize];
    DbxStream_.Read(node.offset + kNodeHeaderSize + kNodeEntrySize * node.next_entry, entry,
                    sizeof entry);
    ++node.next_entry;
    std::int32_t record = LoadInt32(entry);
    std::int32_t child = LoadInt32(entry + 4);
    if (record > 0)
      ReadMessageInfo(record);
    if (child > 0 && !VisitedNodes.contains(child))
      EnterNode(child); // may reallocate path_
  }

  void ReadMessageInfo(std::int32_t offset) {
    std::optional<Toe5_MessageInfo> info = ReadMessageRecord(DbxStream_, offset);
    if (!info || info->DataOffset <= 0 || !SeenDataOffsets.insert(info->DataOffset).second)
      return;
    list_.push_back(std::move(*info));
  }

  DbxStream& DbxStream_;
  std::vector<Toe5_MessageInfo>& list_;
  std::unordered_set<std::int64_t> VisitedNodes;
  std::unordered_set<std::int32_t> SeenDataOffsets;
  std::vector<NodeFrame> path_;
};

} // namespace

void ReadMessageInfos(const std::string& path, std::vector<Toe5_MessageInfo>& list) {
  DbxStream stream(path);
  ListLiveMessages(stream, ReadFileHeader(stream).MessageCount, list);
}

void ListLiveMessages(DbxStream& stream, std::int32_t message_count,
                      std::vector<Toe5_MessageInfo>& list) {
  if (message_count <= 0)
    return;
  std::size_t listed_before = list.size();
  IndexWalk walk(stream, list);
  walk.WalkIndexNode(stream.ReadInt32(kRootNodeOffset));
  if (list.size() - listed_before < static_cast<std::size_t>(message_count))
    walk.ScanIndexTable();
}

} // namespace uoexpress
