// A key of the current user's registry hive (HKEY_CURRENT_USER), owned like a handle: open
// it, read or write its string values, and it closes when the object goes.
//
// Paths are relative to the hive's root and may start with a backslash; key and value names
// compare without regard to letter case. A missing key or value is never an error.
//
// Without a Windows registry, the hive is two files in the text format of Wine's hives: the
// program's own writable hive, and the Wine prefix's user hive read beneath it. A value in the
// writable hive wins; writes go to the writable hive only.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class RegKey {
public:
  RegKey();
  ~RegKey();
  RegKey(RegKey&&) noexcept;
  RegKey& operator=(RegKey&&) noexcept;

  // Opens an existing key; never creates one. False when the key does not exist.
  bool Open(std::string_view path);

  // Opens the key, creating it (and the keys above it) when missing. Throws
  // std::runtime_error("Cannot create file <hive>") when the hive cannot be written.
  void Create(std::string_view path);

  bool Valid() const;
  void Close();

  // The data of a string value, unexpanded; nullopt when the key is not open, or the value is
  // missing or not a string.
  std::optional<std::string> ReadString(std::string_view name) const;

  // Stores a string value. Throws std::runtime_error("Cannot create file <hive>") when the
  // hive cannot be written, and std::logic_error when the key is not open.
  void WriteString(std::string_view name, std::string_view data);

private:
  struct State;
  std::unique_ptr<State> state_;
};

} // namespace platform
