// A registry key (by default of the current user) removed before and after a test, so that tests
// start from nothing and leave nothing behind in the (private) Wine prefix or Windows profile.
#pragma once

#include <string>
#include <windows.h>

namespace testenv {

class ScopedRegistryKey {
public:
  explicit ScopedRegistryKey(std::string path, HKEY root = HKEY_CURRENT_USER)
      : root_(root), path_(std::move(path)) {
    Remove();
  }
  ~ScopedRegistryKey() { Remove(); }
  ScopedRegistryKey(const ScopedRegistryKey&) = delete;
  ScopedRegistryKey& operator=(const ScopedRegistryKey&) = delete;

  const std::string& path() const { return path_; }

private:
  void Remove() { ::RegDeleteTreeA(root_, path_.c_str()); }
  HKEY root_;
  std::string path_;
};

// True under Wine, whose prefix the test wrapper keeps private. On a real Windows the tests
// that rewrite Outlook Express's keys or the program's settings skip: they would change the
// user's own.
inline bool RegistryIsPrivate() {
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Writes a value with the API, as another program would, in any string type.
inline bool WriteRegistryValue(HKEY root, const std::string& key, const std::string& name,
                               DWORD type, const std::string& data) {
  HKEY handle = nullptr;
  if (::RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
    return false;
  const LONG result =
      ::RegSetValueExA(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
  ::RegCloseKey(handle);
  return result == ERROR_SUCCESS;
}

} // namespace testenv
