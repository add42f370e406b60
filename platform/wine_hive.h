// One registry hive in the text format of Wine's hive files ("WINE REGISTRY Version 2"):
// "[Key\\Path] stamp" sections followed by "\"Name\"=data" lines, with C-like backslash
// escapes and "\x" escapes for UTF-16 code units beyond ASCII. Strings are held as UTF-8.
//
// Parsing never fails: a file without the header reads as an empty hive, and lines that do not
// parse are dropped. Values of other types (dword, hex, ...) are kept as written so that a
// rewrite does not lose them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class WineHive {
public:
  static WineHive Parse(std::string_view text);
  std::string Serialize() const;

  // Key paths are relative to the hive's root; a leading backslash is allowed, and names
  // compare without regard to letter case. A key exists when it, or a key below it, is listed.
  bool HasKey(std::string_view path) const;

  // The data of a string value (plain or expandable, "str(2)"), unexpanded; nullopt when the
  // key or value is missing or holds another type. The name "" or "@" is the default value.
  std::optional<std::string> ReadString(std::string_view key, std::string_view name) const;

  void CreateKey(std::string_view path);
  void WriteString(std::string_view key, std::string_view name, std::string_view data);

private:
  struct Value {
    std::string name;
    std::string data; // as written after '='
  };
  struct Key {
    std::string path; // normalized: no leading or trailing backslash
    std::string stamp;
    std::vector<std::string> meta; // "#time=..." and the like
    std::vector<Value> values;
  };

  const Key* FindKey(std::string_view normalized) const;
  Key& KeyForWriting(std::string_view path);

  std::vector<std::string> preamble_;
  std::vector<Key> keys_;
};

} // namespace platform
