#include "store_location.h"

#include "platform/environment.h"
#include "platform/native_path.h"
#include "platform/path_separator.h"
#include "platform/registry.h"
#include "settings_keys.h"

namespace app {
namespace {

std::string ReadStoreRootValue() {
  platform::RegKey key;
  if (key.Open("\\Software\\Microsoft\\Outlook Express")) {
    if (auto root = key.ReadString("Store Root"); root && !root->empty())
      return *root;
  }
  if (!key.Open("\\Identities"))
    return {};
  const std::string identity = key.ReadString("Default User ID").value_or("");
  if (identity.empty() ||
      !key.Open("\\Identities\\" + identity + "\\Software\\Microsoft\\Outlook Express\\5.0"))
    return {};
  return key.ReadString("Store Root").value_or("");
}

} // namespace

std::string GetStoreRoot() {
  const std::string value = ReadStoreRootValue();
  if (value.empty())
    return {};
  return platform::ToNativePath(platform::ExpandEnvironmentReferences(value));
}

std::string JoinStorePath(std::string_view root, std::string_view name) {
  std::string path(root);
  if (!path.empty() && path.back() != '/' && path.back() != '\\')
    path += platform::kPathSeparator;
  return path + std::string(name);
}

std::string StoreLocation::Root() const {
  return chosen_ ? *chosen_ : GetStoreRoot();
}

void StoreLocation::ChooseFolder(const std::string& folder) {
  chosen_ = folder;
  platform::RegKey key;
  key.Create(kOptionsKey);
  key.WriteString(kStoreFolderValue, folder);
}

std::optional<std::string> StoreLocation::RememberedFolder() {
  platform::RegKey key;
  if (!key.Open(kOptionsKey))
    return std::nullopt;
  auto folder = key.ReadString(kStoreFolderValue);
  if (folder && folder->empty())
    return std::nullopt;
  return folder;
}

} // namespace app
