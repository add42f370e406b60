#include "about/version_resource.h"

#include "text/ascii.h"

#include <algorithm>

namespace about {
namespace {

constexpr std::size_t kHeaderSize = 6; // wLength, wValueLength, wType

std::size_t AlignUp4(std::size_t offset) {
  return (offset + 3) & ~std::size_t{3};
}

std::uint16_t Word(Bytes bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t Dword(Bytes bytes, std::size_t offset) {
  return static_cast<std::uint32_t>(Word(bytes, offset)) |
         (static_cast<std::uint32_t>(Word(bytes, offset + 2)) << 16);
}

// One entry of the block: a key, a value and the entries below it, all as offsets into the
// block and all inside [begin, end).
struct Node {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::u16string key;
  std::size_t value_begin = 0;
  std::size_t value_end = 0;
  std::size_t children_begin = 0;
};

// The entry at `offset`, which must lie wholly before `limit`.
std::optional<Node> ReadNode(Bytes block, std::size_t offset, std::size_t limit) {
  if (limit > block.size() || offset > limit || limit - offset < kHeaderSize)
    return std::nullopt;
  const std::size_t length = Word(block, offset);
  if (length < kHeaderSize || length > limit - offset)
    return std::nullopt;
  Node node;
  node.begin = offset;
  node.end = offset + length;
  const std::uint16_t value_length = Word(block, offset + 2);
  const std::uint16_t type = Word(block, offset + 4);

  std::size_t pos = offset + kHeaderSize;
  for (;;) {
    if (node.end - pos < 2)
      return std::nullopt; // the key is not terminated inside the entry
    const std::uint16_t unit = Word(block, pos);
    pos += 2;
    if (unit == 0)
      break;
    node.key.push_back(static_cast<char16_t>(unit));
  }
  // Text values count their length in characters, binary ones in bytes.
  const std::size_t value_bytes = type == 1 ? std::size_t{value_length} * 2 : value_length;
  node.value_begin = std::min(AlignUp4(pos), node.end);
  node.value_end = node.value_begin + std::min(value_bytes, node.end - node.value_begin);
  node.children_begin = std::min(AlignUp4(node.value_end), node.end);
  // A text value runs to its terminating zero; some writers count bytes, some nothing at all.
  if (type == 1)
    node.value_end = node.end;
  return node;
}

// Keys are UTF-16; a name's bytes stand for the first 256 code points.
bool KeyEquals(const std::u16string& key, std::string_view name) {
  return key.size() == name.size() &&
         std::equal(key.begin(), key.end(), name.begin(), [](char16_t k, char n) {
           return k <= 0xFF && text::ToLowerAscii(static_cast<char>(k)) == text::ToLowerAscii(n);
         });
}

std::optional<Node> FindChild(Bytes block, const Node& parent, std::string_view name) {
  std::size_t offset = parent.children_begin;
  while (offset < parent.end) {
    const std::optional<Node> child = ReadNode(block, offset, parent.end);
    if (!child)
      return std::nullopt;
    if (KeyEquals(child->key, name))
      return child;
    offset = AlignUp4(child->end);
  }
  return std::nullopt;
}

std::optional<Node> FindPath(Bytes block, std::string_view path) {
  std::optional<Node> node = ReadNode(block, 0, block.size());
  while (node && !path.empty()) {
    if (path.front() == '\\') {
      path.remove_prefix(1);
      continue;
    }
    const std::size_t slash = path.find('\\');
    node = FindChild(block, *node, path.substr(0, slash));
    path.remove_prefix(slash == std::string_view::npos ? path.size() : slash);
  }
  return node;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

} // namespace

std::string Utf16LeToUtf8(Bytes bytes) {
  std::string out;
  constexpr char32_t kReplacement = 0xFFFD;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char32_t unit = Word(bytes, i);
    if (unit == 0)
      break;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
      const char32_t low = Word(bytes, i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : unit);
  }
  return out;
}

std::optional<FixedFileInfo> QueryFixedFileInfo(Bytes block) {
  const std::optional<Node> root = ReadNode(block, 0, block.size());
  if (!root || root->value_end - root->value_begin < kFixedFileInfoSize)
    return std::nullopt;
  const std::size_t v = root->value_begin;
  if (Dword(block, v) != kFixedFileInfoSignature)
    return std::nullopt;
  FixedFileInfo info;
  info.file_version_ms = Dword(block, v + 8);
  info.file_version_ls = Dword(block, v + 12);
  info.product_version_ms = Dword(block, v + 16);
  info.product_version_ls = Dword(block, v + 20);
  info.file_os = Dword(block, v + 32);
  info.file_type = Dword(block, v + 36);
  return info;
}

std::optional<std::string> QueryStringValue(Bytes block, std::string_view path) {
  const std::optional<Node> node = FindPath(block, path);
  if (!node)
    return std::nullopt;
  return Utf16LeToUtf8(block.subspan(node->value_begin, node->value_end - node->value_begin));
}

} // namespace about
