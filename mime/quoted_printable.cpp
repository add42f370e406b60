#include "mime/quoted_printable.h"

namespace mime {
namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";
constexpr int kSoftBreakColumn = 72;

int UpperHexValue(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

} // namespace

std::string DecodeQuotedPrintable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    const char c = text[i];
    if (c != '=') {
      out += c;
      ++i;
      continue;
    }
    const char next = i + 1 < n ? text[i + 1] : '\0';
    const char after = i + 2 < n ? text[i + 2] : '\0';
    const bool has_next = i + 1 < n;
    const bool has_after = i + 2 < n;
    if (has_after && UpperHexValue(next) >= 0 && UpperHexValue(after) >= 0) {
      out += static_cast<char>(UpperHexValue(next) * 16 + UpperHexValue(after));
      i += 3;
    } else if (has_after && ((next == '\r' && after == '\n') || (next == '\n' && after == '\r'))) {
      i += 3; // soft line break
    } else if (has_next && (next == '\r' || next == '\n')) {
      i += 2; // soft line break with a lone CR or LF
    } else if (!has_next) {
      ++i; // a trailing "=" is dropped
    } else {
      out += c;
      ++i;
    }
  }
  return out;
}

std::string EncodeQuotedPrintable(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  int column = 0;
  for (char ch : text) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte > 127 || ch == '=') {
      out += '=';
      out += kHexDigits[byte >> 4];
      out += kHexDigits[byte & 15];
      column += 3;
    } else {
      out += ch;
      ++column;
    }
    if (ch == '\r')
      column = 0;
    if (column >= kSoftBreakColumn) {
      out += "=\r\n";
      column = 0;
    }
  }
  return out;
}

} // namespace mime
