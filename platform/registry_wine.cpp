#include "registry.h"
#include "wine_prefix.h"

#include <stdexcept>

namespace platform {

// The hives are read when the key is opened, as a key handle sees the registry of that moment;
// a write reads the writable hive again so that it adds to what is on disk.
struct RegKey::State {
  std::string path;
  WineHive writable;
  WineHive wine;
};

RegKey::RegKey() = default;
RegKey::~RegKey() = default;
RegKey::RegKey(RegKey&&) noexcept = default;
RegKey& RegKey::operator=(RegKey&&) noexcept = default;

bool RegKey::Open(std::string_view path) {
  auto state = std::make_unique<State>();
  state->path = path;
  state->writable = LoadHiveFile(WritableHivePath());
  state->wine = LoadHiveFile(WineUserHivePath());
  if (!state->writable.HasKey(path) && !state->wine.HasKey(path)) {
    state_.reset();
    return false;
  }
  state_ = std::move(state);
  return true;
}

void RegKey::Create(std::string_view path) {
  const std::string hive_path = WritableHivePath();
  WineHive writable = LoadHiveFile(hive_path);
  if (!writable.HasKey(path)) {
    writable.CreateKey(path);
    SaveHiveFile(hive_path, writable);
  }
  auto state = std::make_unique<State>();
  state->path = path;
  state->writable = std::move(writable);
  state->wine = LoadHiveFile(WineUserHivePath());
  state_ = std::move(state);
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
  if (auto value = state_->writable.ReadString(state_->path, name))
    return value;
  return state_->wine.ReadString(state_->path, name);
}

void RegKey::WriteString(std::string_view name, std::string_view data) {
  if (!state_)
    throw std::logic_error("registry key not open");
  const std::string hive_path = WritableHivePath();
  WineHive writable = LoadHiveFile(hive_path);
  writable.WriteString(state_->path, name, data);
  SaveHiveFile(hive_path, writable);
  state_->writable = std::move(writable);
}

} // namespace platform
