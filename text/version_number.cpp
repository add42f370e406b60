#include "text/version_number.h"

#include "text/ascii.h"

namespace text {

std::optional<std::vector<std::uint32_t>> ParseVersionNumbers(std::string_view version) {
  std::vector<std::uint32_t> numbers;
  for (;;) {
    const std::size_t dot = version.find('.');
    const std::string_view part = version.substr(0, dot);
    if (part.empty() || part.size() > 9)
      return std::nullopt;
    std::uint32_t number = 0;
    for (const char c : part) {
      if (!IsDigitAscii(c))
        return std::nullopt;
      number = number * 10 + static_cast<std::uint32_t>(c - '0');
    }
    numbers.push_back(number);
    if (dot == std::string_view::npos)
      return numbers;
    version.remove_prefix(dot + 1);
  }
}

} // namespace text
