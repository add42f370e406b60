#include "mime/header_fields.h"

#include "text/ascii.h"
#include "text/trim.h"

namespace mime {

bool StartsWithHeaderField(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] != ':' && text[i] != ' ' && text[i] != '\t') {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 32 || byte >= 127)
      return false;
    ++i;
  }
  const std::size_t name_end = i;
  // Old mail may put blanks before the colon.
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  return name_end > 0 && i < text.size() && text[i] == ':';
}

std::size_t BodyStart(std::string_view text) {
  if (text.starts_with("\r\n"))
    return 2;
  const std::size_t blank_line = text.find("\r\n\r\n");
  return blank_line == text.npos ? text.size() : blank_line + 4;
}

std::optional<std::string> HeaderField(std::string_view header_section, std::string_view label) {
  std::optional<std::string> value;
  for (std::size_t start = 0; start < header_section.size();) {
    std::size_t end = header_section.find("\r\n", start);
    if (end == header_section.npos)
      end = header_section.size();
    const std::string_view line = header_section.substr(start, end - start);
    start = end + 2;
    const bool continues = !line.empty() && (line[0] == ' ' || line[0] == '\t');
    if (value && continues) {
      *value += line;
      continue;
    }
    if (value)
      break;
    if (line.size() <= label.size())
      continue;
    const bool same = text::StartsWithIgnoringAsciiCase(line, label);
    // Old mail may put blanks before the colon.
    const std::size_t colon = line.find_first_not_of(" \t", label.size());
    if (same && colon != line.npos && line[colon] == ':')
      value = std::string(line.substr(colon + 1));
  }
  if (value)
    *value = std::string(text::TrimSpaces(*value, " \t"));
  return value;
}

} // namespace mime
