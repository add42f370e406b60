#include "folder_database.h"

#include "dbx_layout.h"
#include "dbx_stream.h"
#include "uoexpress.h"
#include "value_area.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <unordered_set>

namespace uoexpress {
namespace {

using namespace layout;

// The first eight bytes of a folder database; message files differ in the fifth.
constexpr unsigned char kFolderDatabaseSignature[] = {0xCF, 0xAD, 0x12, 0xFE,
                                                      0xC6, 0xFD, 0x74, 0x6F};
// The database keeps three index trees over the same records, ordered differently; walking
// all three salvages a record whose entry is lost in one of them.
constexpr std::int64_t kTreeRoots[] = {0xE4, 0xE8, 0xEC};
constexpr std::int64_t kNodeChild = 8;
constexpr std::int64_t kNodeEntryCountByte = 17;
// A node is 636 bytes: its header and room for 51 entries.
constexpr int kMaxNodeEntries = 51;
// Real stores hold a few hundred folders, or some ten thousand with newsgroups. A hostile
// file could name millions of structures; the walk reads no further than this.
constexpr std::size_t kMaxNodes = 1 << 18;
constexpr std::size_t kMaxRecords = 1 << 18;
// Folder and file names are Windows names, at most 260 characters; a hostile record could
// otherwise make every one of them 64 KiB long.
constexpr std::int64_t kMaxNameBytes = 260;
// Outlook Express nests folders a few levels deep; a hostile chain of parents is cut here.
constexpr std::size_t kMaxPathNames = 64;

std::optional<FolderRecord> ReadFolderRecord(DbxStream& stream, std::int32_t offset) {
  unsigned char header[kRecordHeaderSize];
  stream.Read(offset, header, sizeof header);
  if (LoadInt32(header) != offset)
    return std::nullopt;
  const int count = header[kRecordEntryCount];
  if (count == 0 || count > kMaxAttributeEntries)
    return std::nullopt;
  unsigned char table[4 * kMaxAttributeEntries];
  const std::int64_t table_start = std::int64_t{offset} + kRecordHeaderSize;
  stream.Read(table_start, table, 4 * count);
  ValueArea values(stream, table_start + 4 * count,
                   std::int64_t{LoadInt32(header + kRecordBodyLength)} - 4 * count);

  FolderRecord record;
  record.InfoOffset = offset;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t entry = LoadUInt32(table + 4 * i);
    const std::uint32_t value = entry >> 8;
    switch (entry & 0xFF) {
    case 0x00:
      record.Index = values.ReadInt32(value);
      break;
    case 0x80:
      record.Index = static_cast<std::int32_t>(value);
      break;
    // The root's parent, -1, does not fit a direct value and stands in the value area.
    case 0x01:
      record.ParentIndex = values.ReadInt32(value);
      break;
    case 0x81:
      record.ParentIndex = static_cast<std::int32_t>(value);
      break;
    case 0x02:
      record.Name = values.ReadText(value, kMaxNameBytes);
      break;
    case 0x03:
      record.FileName = values.ReadText(value, kMaxNameBytes);
      break;
    default:
      break;
    }
  }
  return record;
}

class FolderWalk {
public:
  explicit FolderWalk(DbxStream& stream) : stream_(stream) {}

  void WalkTree(std::int64_t root) {
    std::vector<std::int64_t> pending{root};
    while (!pending.empty() && visited_nodes_.size() < kMaxNodes) {
      const std::int64_t node = pending.back();
      pending.pop_back();
      if (node <= 0 || !visited_nodes_.insert(node).second)
        continue;
      unsigned char header[kNodeHeaderSize];
      stream_.Read(node, header, sizeof header);
      if (LoadInt32(header) != node)
        continue;
      const int entries = std::min<int>(header[kNodeEntryCountByte], kMaxNodeEntries);
      // Children are pushed last to first so that the walk takes them in order.
      std::vector<std::int64_t> children{LoadInt32(header + kNodeChild)};
      for (int i = 0; i < entries; ++i) {
        unsigned char entry[kNodeEntrySize];
        stream_.Read(node + kNodeHeaderSize + kNodeEntrySize * i, entry, sizeof entry);
        AddRecord(LoadInt32(entry));
        children.push_back(LoadInt32(entry + 4));
      }
      pending.insert(pending.end(), children.rbegin(), children.rend());
    }
  }

  std::vector<FolderRecord> TakeRecords() { return std::move(records_); }

private:
  void AddRecord(std::int32_t offset) {
    if (offset <= 0 || records_.size() >= kMaxRecords || !read_records_.insert(offset).second)
      return;
    std::optional<FolderRecord> record = ReadFolderRecord(stream_, offset);
    if (record && indexes_.insert(record->Index).second)
      records_.push_back(std::move(*record));
  }

  DbxStream& stream_;
  std::unordered_set<std::int64_t> visited_nodes_;
  std::unordered_set<std::int32_t> read_records_;
  std::unordered_set<std::int32_t> indexes_;
  std::vector<FolderRecord> records_;
};

} // namespace

std::vector<FolderRecord> ReadFolderRecords(const std::string& path) {
  DbxStream stream(path);
  unsigned char signature[sizeof kFolderDatabaseSignature];
  stream.Read(0, signature, sizeof signature);
  if (std::memcmp(signature, kFolderDatabaseSignature, sizeof signature) != 0)
    return {};
  FolderWalk walk(stream);
  for (std::int64_t root : kTreeRoots)
    walk.WalkTree(stream.ReadInt32(root));
  return walk.TakeRecords();
}

FolderPaths::FolderPaths(const std::vector<FolderRecord>& records) {
  for (const FolderRecord& record : records)
    by_index_.emplace(record.Index, &record);
}

std::string FolderPaths::Of(const FolderRecord& folder) const {
  std::vector<const std::string*> names{&folder.Name};
  std::unordered_set<std::int32_t> met{folder.Index};
  for (std::int32_t parent = folder.ParentIndex; parent >= 0 && names.size() < kMaxPathNames;) {
    const auto found = by_index_.find(parent);
    // The root ("Outlook Express") is not part of a path.
    if (found == by_index_.end() || found->second->ParentIndex < 0 || !met.insert(parent).second)
      break;
    names.push_back(&found->second->Name);
    parent = found->second->ParentIndex;
  }
  std::string path = *names.back();
  for (auto name = names.rbegin() + 1; name != names.rend(); ++name)
    path += "/" + **name;
  return path;
}

} // namespace uoexpress
