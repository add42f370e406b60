// The mime.types format is read on every system: the tests and tools use it everywhere, and
// Linux takes its table of content types from /etc/mime.types.
#include "content_types.h"
#include "text/ascii.h"

#include <utility>

namespace platform {
namespace {

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

ContentTypeTable ParseMimeTypes(std::string_view text) {
  ContentTypeTable table;
  while (!text.empty()) {
    const std::size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    line = line.substr(0, line.find('#'));

    std::string_view type;
    std::size_t i = 0;
    while (i < line.size()) {
      while (i < line.size() && IsSpace(line[i]))
        ++i;
      const std::size_t start = i;
      while (i < line.size() && !IsSpace(line[i]))
        ++i;
      if (i == start)
        break;
      const std::string_view word = line.substr(start, i - start);
      if (type.empty())
        type = word;
      else {
        // Appended rather than "." + …, which GCC 12 at -O3 takes for an overlapping copy.
        std::string extension = ".";
        extension += text::LowerAscii(word);
        table.try_emplace(std::move(extension), type);
      }
    }
  }
  return table;
}

} // namespace platform
