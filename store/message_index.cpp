// Listing the live messages: a walk of the index tree from the root named in the header, then,
// when the walk found fewer messages than the header declares, a scan of the fallback table.
#include "dbx_layout.h"
#include "dbx_stream.h"
#include "message_record.h"
#include "platform/pump.h"
#include "stream_operations.h"

#include <algorithm>
#include <map>
#include <unordered_set>

namespace uoexpress {
namespace {

using namespace layout;

// What a hostile file may cost. A file whose every word holds its own offset makes every
// offset pass as a node and as a record; these bounds keep the walk's memory in proportion to
// the messages it lists, and its reads in proportion to them beyond a fixed allowance, while a
// real file never reaches them.
//
// Nodes entered beyond the messages listed. Every node of a real tree holds a message, and the
// walk lists a node's messages soon after entering it, so it never runs more than the tree's
// height ahead; the allowance is for chains of empty or damaged nodes.
constexpr std::size_t kNodeAllowance = std::size_t{1} << 18;
// Reads of node headers, entries and records, a text counting one per 256 bytes. A real
// message costs about twenty (its entry, its record's header, table and values, a share of a
// node); the fixed allowance lets damaged stretches be read before anything is listed.
constexpr std::int64_t kWorkAllowance = std::int64_t{1} << 19;
constexpr std::int64_t kWorkPerMessage = 32;
constexpr std::int64_t kRecordReads = 16; // table, values and fixed data offset of a record
constexpr std::int64_t kTextBytesPerRead = 256;
// Entries past the 50th of a node come only from a damaged count word; they draw on an
// allowance of their own, so that garbage read as entries leaves the rest of the tree its
// reads.
constexpr std::int64_t kOverflowAllowance = std::int64_t{1} << 17;
// Outlook Express keeps a folder below 2 GB and grows unusable long before half a million
// messages; their texts (addresses, subjects, ids) come to a few hundred bytes a message.
constexpr std::size_t kMaxMessages = std::size_t{1} << 19;
constexpr std::int64_t kMaxListedText = std::int64_t{256} << 20;

std::int64_t TextSize(const Toe5_MessageInfo& info) {
  std::size_t size = 0;
  for (const std::string* text :
       {&info.Attr1B, &info.Attr1A, &info.Attr07, &info.Attr08, &info.Attr0D, &info.Attr09,
        &info.Attr13, &info.Attr0E, &info.Attr0A, &info.Attr0B})
    size += text->size();
  return static_cast<std::int64_t>(size);
}

class IndexWalk {
public:
  IndexWalk(DbxStream& stream, std::vector<Toe5_MessageInfo>& list)
      : DbxStream_(stream), list_(list), listed_before_(list.size()) {}

  // The walk order is: the node's first link, its second link, the node its count word
  // points at, then its entries, each entry's message before the subtree below it. An
  // explicit stack keeps hostile trees of any depth off the call stack.
  void WalkIndexNode(std::int64_t root) {
    EnterNode(root, work_);
    while (!path_.empty() && !Exhausted()) {
      NodeFrame& node = path_.back();
      switch (node.step) {
      case Step::FirstLink:
        node.step = Step::SecondLink;
        if (node.first_link > 0 && !InsideNode(node.first_link))
          EnterNode(node.first_link, work_);
        break;
      case Step::SecondLink:
        node.step = Step::Probe;
        if (node.second_link > 0 && !InsideNode(node.second_link))
          EnterNode(node.second_link, work_);
        break;
      case Step::Probe:
        node.step = Step::Entries;
        // `node` is not used after this: entering may reallocate path_.
        if (node.probe_hit && !InsideNode(node.count_word))
          EnterNode(node.count_word, work_);
        break;
      case Step::Entries:
        if (node.next_entry >= node.entry_count) {
          path_.pop_back();
          break;
        }
        if (node.next_entry >= kProbedNodeEntries && !Affords(overflow_)) {
          node.next_entry = node.entry_count;
          break;
        }
        VisitEntry(node, node.next_entry < kProbedNodeEntries ? work_ : overflow_);
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
      if (platform::StopRequested() || Exhausted() || !Spend(work_))
        return;
      // Past the end of the file every entry reads as zero.
      if (pos >= DbxStream_.Size())
        return;
      std::int32_t record = DbxStream_.ReadInt32(pos);
      if (record > 0)
        ReadMessageInfo(record, work_);
    }
  }

private:
  enum class Step : std::uint8_t { FirstLink, SecondLink, Probe, Entries };

  struct NodeFrame {
    std::int64_t offset;
    std::int32_t first_link;
    std::int32_t second_link;
    std::uint32_t count_word;
    std::uint32_t entry_count = 0;
    std::uint32_t next_entry = 0;
    Step step = Step::FirstLink;
    bool probe_hit = false;
  };

  struct Budget {
    std::int64_t allowance;
    std::int64_t spent = 0;
  };

  std::size_t Listed() const { return list_.size() - listed_before_; }

  bool Affords(const Budget& budget) const {
    return budget.spent < budget.allowance + kWorkPerMessage * static_cast<std::int64_t>(Listed());
  }

  bool Spend(Budget& budget) {
    if (!Affords(budget))
      return false;
    ++budget.spent;
    return true;
  }

  bool Exhausted() const { return Listed() >= kMaxMessages || text_full_ || !Affords(work_); }

  // Nodes of a real tree never overlap, nor do records lie inside them; the area a node holds
  // is taken as its header and at most 50 entries, the most a real node holds, so that a
  // damaged count word does not hide the nodes after it.
  bool OverlapsNode(std::int64_t start, std::int64_t end) const {
    auto next = VisitedNodes.lower_bound(start);
    if (next != VisitedNodes.end() && next->first < end)
      return true;
    return next != VisitedNodes.begin() && std::prev(next)->second > start;
  }

  bool InsideNode(std::int64_t offset) const { return OverlapsNode(offset, offset + 1); }

  void EnterNode(std::int64_t offset, Budget& budget) {
    platform::PumpMessages();
    if (platform::StopRequested() || VisitedNodes.size() >= kNodeAllowance + Listed() ||
        !Spend(budget))
      return;
    unsigned char header[kNodeHeaderSize];
    DbxStream_.Read(offset, header, sizeof header);
    if (LoadInt32(header) != offset)
      return;
    NodeFrame node{offset, LoadInt32(header + kNodeFirstLink), LoadInt32(header + kNodeSecondLink),
                   LoadUInt32(header + kNodeCountWord)};
    CountEntries(node);
    std::int64_t end =
        offset + kNodeHeaderSize + kNodeEntrySize * std::min(node.entry_count, kProbedNodeEntries);
    if (OverlapsNode(offset, end))
      return;
    VisitedNodes.emplace(offset, end);
    path_.push_back(node);
  }

  // The whole count word is also tried as the offset of a further node; when one stands
  // there, it is walked and this node's entry area is read as a full one.
  void CountEntries(NodeFrame& node) {
    node.entry_count = node.count_word >> 8;
    if (node.entry_count == 0)
      return;
    node.probe_hit =
        static_cast<std::uint32_t>(DbxStream_.ReadInt32(node.count_word)) == node.count_word;
    if (node.probe_hit)
      node.entry_count = kProbedNodeEntries;
    // Entries that lie wholly beyond the end of the file are absent; do not count them.
    std::int64_t entries_start = node.offset + kNodeHeaderSize;
    std::int64_t present =
        (DbxStream_.Size() - entries_start + kNodeEntrySize - 1) / kNodeEntrySize;
    if (present < node.entry_count)
      node.entry_count = static_cast<std::uint32_t>(std::max<std::int64_t>(present, 0));
  }

  void VisitEntry(NodeFrame& node, Budget& budget) {
    std::int64_t at = node.offset + kNodeHeaderSize + kNodeEntrySize * node.next_entry;
    ++node.next_entry;
    if (!Spend(budget))
      return;
    unsigned char entry[kNodeEntrySize];
    DbxStream_.Read(at, entry, sizeof entry);
    std::int32_t record = LoadInt32(entry);
    std::int32_t child = LoadInt32(entry + 4);
    if (record > 0)
      ReadMessageInfo(record, budget);
    if (child > 0 && !InsideNode(child))
      EnterNode(child, budget); // may reallocate path_
  }

  void ReadMessageInfo(std::int32_t offset, Budget& budget) {
    if (OverlapsNode(offset, offset + kRecordHeaderSize) || !Spend(budget))
      return;
    std::optional<Toe5_MessageInfo> info = ReadMessageRecord(DbxStream_, offset);
    if (!info)
      return;
    // The decoding is done: charged even when it overdraws, it ends the walk soon after.
    std::int64_t text = TextSize(*info);
    budget.spent += kRecordReads + text / kTextBytesPerRead;
    if (info->DataOffset <= 0 || !SeenDataOffsets.insert(info->DataOffset).second)
      return;
    if (listed_text_ + text > kMaxListedText) {
      text_full_ = true;
      return;
    }
    listed_text_ += text;
    list_.push_back(std::move(*info));
  }

  DbxStream& DbxStream_;
  std::vector<Toe5_MessageInfo>& list_;
  const std::size_t listed_before_;
  // Accepted nodes by offset, each with the end of its area.
  std::map<std::int64_t, std::int64_t> VisitedNodes;
  std::unordered_set<std::int32_t> SeenDataOffsets;
  std::vector<NodeFrame> path_;
  Budget work_{kWorkAllowance};
  Budget overflow_{kOverflowAllowance};
  std::int64_t listed_text_ = 0;
  bool text_full_ = false;
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
