#include "folder_database_writer.h"

namespace dbxtest {
namespace {

constexpr unsigned char kSignature[] = {0xCF, 0xAD, 0x12, 0xFE, 0xC6, 0xFD, 0x74, 0x6F, 0x66, 0xE3,
                                        0xD1, 0x11, 0x9A, 0x4E, 0x00, 0xC0, 0x4F, 0xA3, 0x09, 0xD4};
constexpr std::int32_t kHeaderSize = 0x24BC;
constexpr std::int32_t kRecordSpacing = 0x100;
constexpr std::int32_t kNodeSize = 636;
constexpr std::size_t kNodeEntries = 51;

// The root's parent (-1) and the folder's number stand in the value area when they do not
// fit a direct value's 24 bits.
void AddNumber(std::vector<Attribute>& attributes, std::string& values, std::uint8_t direct_tag,
               std::int32_t value) {
  if (value >= 0 && value < (1 << 24)) {
    attributes.push_back({direct_tag, static_cast<std::uint32_t>(value)});
    return;
  }
  attributes.push_back(
      {static_cast<std::uint8_t>(direct_tag & 0x7F), static_cast<std::uint32_t>(values.size())});
  for (int i = 0; i < 4; ++i)
    values += static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
}

void AddText(std::vector<Attribute>& attributes, std::string& values, std::uint8_t tag,
             const std::string& text) {
  attributes.push_back({tag, static_cast<std::uint32_t>(values.size())});
  values += text;
  values += '\0';
}

} // namespace

std::int32_t FolderRecordOffset(std::size_t i) {
  return kFolderRecordsStart + kRecordSpacing * static_cast<std::int32_t>(i);
}

DbxImage FolderDatabase(const std::vector<FolderEntry>& folders) {
  DbxImage image(kHeaderSize);
  image.PutBytes(0, std::string_view(reinterpret_cast<const char*>(kSignature), sizeof kSignature));
  image.PutInt32(0x1C, kHeaderSize);
  std::vector<NodeEntry> entries;
  for (std::size_t i = 0; i < folders.size(); ++i) {
    const FolderEntry& folder = folders[i];
    std::vector<Attribute> attributes;
    std::string values;
    AddNumber(attributes, values, 0x80, folder.index);
    AddNumber(attributes, values, 0x81, folder.parent);
    AddText(attributes, values, 0x02, folder.name);
    if (!folder.file.empty())
      AddText(attributes, values, 0x03, folder.file);
    image.Record(FolderRecordOffset(i), attributes, values);
    entries.push_back({FolderRecordOffset(i), 0});
  }
  // Nodes of 51 entries, each one the child of the one before.
  std::int32_t root = 0;
  for (std::size_t first = 0, n = 0; first < entries.size() || n == 0; first += kNodeEntries, ++n) {
    const std::int32_t node = kFolderNodesStart + kNodeSize * static_cast<std::int32_t>(n);
    const std::size_t last = std::min(entries.size(), first + kNodeEntries);
    const std::int32_t child = last < entries.size() ? node + kNodeSize : 0;
    image.Node(node, 0, child, {entries.begin() + first, entries.begin() + last});
    if (n == 0)
      root = node;
  }
  for (std::int32_t field : {48, 0xE4})
    image.PutInt32(field, root);
  image.PutInt32(kMessageCountField, static_cast<std::int32_t>(folders.size()));
  return image;
}

} // namespace dbxtest
