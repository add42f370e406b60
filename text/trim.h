// Trimming: a text without the leading and trailing bytes of a set of blanks. The set says
// what counts as blank where the text comes from: header text knows the space only (tabs and
// line breaks are kept), a registry hive or an INI file tabs and line ends too.
#pragma once

#include <string>
#include <string_view>

namespace text {

inline constexpr std::string_view kSpace = " ";

constexpr std::string_view TrimLeftSpaces(std::string_view s, std::string_view blanks = kSpace) {
  const std::size_t first = s.find_first_not_of(blanks);
  return first == std::string_view::npos ? std::string_view() : s.substr(first);
}

constexpr std::string_view TrimRightSpaces(std::string_view s, std::string_view blanks = kSpace) {
  const std::size_t last = s.find_last_not_of(blanks);
  return last == std::string_view::npos ? std::string_view() : s.substr(0, last + 1);
}

constexpr std::string_view TrimSpaces(std::string_view s, std::string_view blanks = kSpace) {
  return TrimRightSpaces(TrimLeftSpaces(s, blanks), blanks);
}

// Drops leading spaces, then keeps the last `width` characters of a longer text, or prepends
// `fill` until the text is at least `width` long.
std::string PadLeft(std::string_view text, std::size_t width, std::string_view fill);

} // namespace text
