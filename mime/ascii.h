// Byte-wise ASCII helpers. Header text is 8-bit and never converted between character
// sets, so only the 26 Latin letters change case; every other byte is left alone.
#pragma once

#include <string_view>

namespace mime {

inline char ToUpperAscii(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}

inline char ToLowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

inline bool IsDigitAscii(char c) {
  return c >= '0' && c <= '9';
}

inline bool StartsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

inline bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

} // namespace mime
