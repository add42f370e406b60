#include "display_text.h"

namespace app {
namespace {

// Windows-1252 characters 0x80 to 0x9F; 0 where the code page has none.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    auto c = static_cast<unsigned char>(bytes[i]);
    int follow;
    char32_t code;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      follow = 1;
      code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      follow = 2;
      code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      follow = 3;
      code = c & 0x07;
    } else {
      return false;
    }
    if (bytes.size() - i <= static_cast<std::size_t>(follow))
      return false;
    for (int k = 1; k <= follow; ++k) {
      auto next = static_cast<unsigned char>(bytes[i + k]);
      if ((next & 0xC0) != 0x80)
        return false;
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8.
    if ((follow == 2 && code < 0x800) || (follow == 3 && (code < 0x10000 || code > 0x10FFFF)) ||
        (code >= 0xD800 && code <= 0xDFFF))
      return false;
    i += static_cast<std::size_t>(follow) + 1;
  }
  return true;
}

std::string DisplayText(std::string_view bytes) {
  if (IsValidUtf8(bytes))
    return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() * 2);
  for (char byte : bytes) {
    auto c = static_cast<unsigned char>(byte);
    char32_t code = c;
    if (c >= 0x80 && c < 0xA0)
      code = kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : c;
    AppendUtf8(out, code);
  }
  return out;
}

} // namespace app
