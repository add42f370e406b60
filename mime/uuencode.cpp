#include "mime/uuencode.h"

#include "mime/mime_error.h"

#include <algorithm>

namespace mime {
namespace {

constexpr int kFullLineBytes = 45;
constexpr std::size_t kFullLineChars = 60;

[[noreturn]] void ThrowFormatError() {
  throw MimeError("UUCODE message format error");
}

} // namespace

int UUCharValue(char c) {
  if (c == '`')
    return 0;
  if (c >= ' ' && c <= '_')
    return c - ' ';
  ThrowFormatError();
}

std::string UUDecodeLine(std::string_view line) {
  if (line.empty())
    return {};
  const int count = UUCharValue(line[0]);
  std::string_view data = line.substr(1);
  if (count == kFullLineBytes && data.size() < kFullLineChars)
    ThrowFormatError();
  data = data.substr(0, kFullLineChars);

  // Six bits per character, most significant first; missing bits at the end are 0.
  unsigned char store[kFullLineBytes] = {};
  std::size_t filled = 0;
  unsigned bits = 0;
  unsigned pending = 0;
  for (char c : data) {
    pending = (pending << 6 | static_cast<unsigned>(UUCharValue(c))) & 0xFFFu;
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      store[filled++] = static_cast<unsigned char>(pending >> bits);
    }
  }
  if (bits > 0)
    store[filled] = static_cast<unsigned char>(pending << (8 - bits));
  const int length = std::min(count, kFullLineBytes);
  return std::string(reinterpret_cast<const char*>(store), static_cast<std::size_t>(length));
}

std::string UUDecodeToStream(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 3 / 4);
  while (!text.empty()) {
    const std::size_t end = text.find("\r\n");
    const std::string_view line = text.substr(0, end);
    out += UUDecodeLine(line);
    if (end == std::string_view::npos)
      break;
    text.remove_prefix(end + 2);
  }
  return out;
}

} // namespace mime
