// ASCII letter case, the one way this program folds it: names in the registry and on Windows
// file systems, header labels, file extensions and program names compare this way. Only the
// 26 Latin letters change case; every other byte, UTF-8 included, compares as it is.
#pragma once

#include <string>
#include <string_view>

namespace text {

constexpr char ToLowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

constexpr char ToUpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

constexpr bool IsDigitAscii(char c) {
  return c >= '0' && c <= '9';
}

inline std::string LowerAscii(std::string_view s) {
  std::string lowered(s);
  for (char& c : lowered)
    c = ToLowerAscii(c);
  return lowered;
}

// Negative, zero or positive, like strcmp: bytes compared unsigned after folding case, a
// prefix before the longer text.
constexpr int CompareIgnoringAsciiCase(std::string_view a, std::string_view b) {
  const std::size_t common = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(ToLowerAscii(a[i]));
    const auto y = static_cast<unsigned char>(ToLowerAscii(b[i]));
    if (x != y)
      return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareIgnoringAsciiCase(a, b) == 0;
}

constexpr bool StartsWithIgnoringAsciiCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsIgnoringAsciiCase(s.substr(0, prefix.size()), prefix);
}

constexpr bool EndsWithIgnoringAsciiCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() &&
         EqualsIgnoringAsciiCase(s.substr(s.size() - suffix.size()), suffix);
}

} // namespace text
