#include "registry.h"

#include <stdexcept>
#include <windows.h>

namespace platform {
namespace {

// The API wants paths below the root without a leading separator.
std::string SubKey(std::string_view path) {
  while (!path.empty() && path.front() == '\\')
    path.remove_prefix(1);
  return std::string(path);
}

} // namespace

struct RegKey::State {
  explicit State(HKEY key) : handle(key) {}
  ~State() { ::RegCloseKey(handle); }
  State(const State&) = delete;
  State& operator=(const State&) = delete;
  HKEY handle;
  std::string path;
};

RegKey::RegKey() = default;
RegKey::~RegKey() = default;
RegKey::RegKey(RegKey&&) noexcept = default;
RegKey& RegKey::operator=(RegKey&&) noexcept = default;

bool RegKey::Open(std::string_view path) {
  state_.reset();
  const std::string sub_key = SubKey(path);
  HKEY key = nullptr;
  // Writable when the user may write there, as keys opened for settings are written back.
  if (::RegOpenKeyExA(HKEY_CURRENT_USER, sub_key.c_str(), 0, KEY_READ | KEY_SET_VALUE, &key) !=
          ERROR_SUCCESS &&
      ::RegOpenKeyExA(HKEY_CURRENT_USER, sub_key.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  state_ = std::make_unique<State>(key);
  state_->path = sub_key;
  return true;
}

void RegKey::Create(std::string_view path) {
  state_.reset();
  const std::string sub_key = SubKey(path);
  HKEY key = nullptr;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, sub_key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("Cannot create file HKEY_CURRENT_USER\\" + sub_key);
  state_ = std::make_unique<State>(key);
  state_->path = sub_key;
}

bool RegKey::Valid() const {
  return state_ != nullptr;
}

void RegKey::Close() {
  state_.reset();
}

std::optional<std::string> RegKey::ReadString(std::string_view name) const {
  if (!state_)
    return std::nullopt;
  const std::string value_name(name);
  std::string data(256, '\0');
  for (;;) {
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(data.size());
    const LONG result = ::RegQueryValueExA(state_->handle, value_name.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(data.data()), &size);
    if (result == ERROR_MORE_DATA) {
      data.resize(size);
      continue;
    }
    // Expandable strings are returned as written; the caller expands their references.
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ))
      return std::nullopt;
    data.resize(size);
    // The stored terminator, when there is one, is not part of the text.
    while (!data.empty() && data.back() == '\0')
      data.pop_back();
    return data;
  }
}

void RegKey::WriteString(std::string_view name, std::string_view data) {
  if (!state_)
    throw std::logic_error("registry key not open");
  const std::string value_name(name);
  const std::string text(data);
  if (::RegSetValueExA(state_->handle, value_name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1)) != ERROR_SUCCESS)
    throw std::runtime_error("Cannot create file HKEY_CURRENT_USER\\" + state_->path);
}

} // namespace platform
