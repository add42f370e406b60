// Builds message texts for the tests from lines joined by CR LF.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace mime::testing {

// Each line followed by CR LF.
inline std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

} // namespace mime::testing
