// Reading of INI files ("[Section]" headers and "Key=Value" lines), with defaults.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace platform {

class IniFile {
public:
  // A missing or unreadable file reads as an empty one.
  static IniFile Load(const std::string& path);
  static IniFile Parse(std::string_view text);

  // The value of the first such key under a section of that name, without surrounding blanks
  // and one pair of surrounding quotes; section and key names compare without regard to
  // letter case. The default when the section or key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_value) const;

private:
  struct Entry {
    std::string section;
    std::string key;
    std::string value;
  };
  std::vector<Entry> entries_;
};

} // namespace platform
