#include "ini_file.h"

#include "text/ascii.h"
#include "text/trim.h"

#include <fstream>
#include <sstream>

namespace platform {
namespace {

std::string_view Trimmed(std::string_view line) {
  return text::TrimSpaces(line, " \t\r\n");
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

} // namespace

IniFile IniFile::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return {};
  std::ostringstream text;
  text << in.rdbuf();
  return Parse(text.str());
}

IniFile IniFile::Parse(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF")
    text.remove_prefix(3);
  IniFile file;
  std::string section;
  bool in_section = false;
  while (!text.empty()) {
    const auto end = text.find('\n');
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line.front() == ';' || line.front() == '#')
      continue;
    if (line.front() == '[') {
      const auto close = line.find(']');
      in_section = close != std::string_view::npos;
      if (in_section)
        section = Trimmed(line.substr(1, close - 1));
      continue;
    }
    const auto equals = line.find('=');
    if (!in_section || equals == std::string_view::npos)
      continue;
    file.entries_.push_back({section, std::string(Trimmed(line.substr(0, equals))),
                             std::string(Unquoted(Trimmed(line.substr(equals + 1))))});
  }
  return file;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view default_value) const {
  for (const Entry& entry : entries_) {
    if (text::EqualsIgnoringAsciiCase(entry.section, section) &&
        text::EqualsIgnoringAsciiCase(entry.key, key))
      return entry.value;
  }
  return std::string(default_value);
}

} // namespace platform
