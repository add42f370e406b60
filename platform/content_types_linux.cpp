#include "platform/content_types.h"

#include <fstream>
#include <iterator>

namespace platform {
namespace {

constexpr const char* kMimeTypesFile = "/etc/mime.types";

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c + 32);
  return out;
}

const ContentTypeTable& SystemTable() {
  static const ContentTypeTable table = [] {
    std::ifstream file(kMimeTypesFile, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    return ParseMimeTypes(text);
  }();
  return table;
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
      else
        table.try_emplace("." + LowerAscii(word), type);
    }
  }
  return table;
}

std::string ContentTypeForExtension(std::string_view extension) {
  const ContentTypeTable& table = SystemTable();
  const auto found = table.find(LowerAscii(extension));
  return found == table.end() ? std::string() : found->second;
}

} // namespace platform
