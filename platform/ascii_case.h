// Letter-case folding of ASCII letters only, as the registry and the file system of Windows
// compare names. Bytes of other characters compare unchanged.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace platform {

inline char AsciiToLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

inline std::string AsciiLowered(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(), AsciiToLower);
  return result;
}

inline bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiToLower(x) == AsciiToLower(y);
         });
}

// Negative, zero or positive, like strcmp, after folding letter case.
inline int CompareIgnoringCase(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(AsciiToLower(a[i]));
    const auto y = static_cast<unsigned char>(AsciiToLower(b[i]));
    if (x != y)
      return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace platform
