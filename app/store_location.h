// Where the Outlook Express store folder is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace app {

// The store folder recorded by Outlook Express in the current user's registry: "Store Root"
// under "Software\Microsoft\Outlook Express", else under the default identity's
// "Identities\{id}\Software\Microsoft\Outlook Express\5.0". Environment references are
// expanded and, where Windows paths must be mapped, the path is made local. Empty when
// nothing is recorded. Reads the registry anew on every call.
std::string GetStoreRoot();

// `root` and `name` joined with one separator (none is added when the root ends with one).
std::string JoinStorePath(std::string_view root, std::string_view name);

// The store folder for one run of the program: the folder the user chose, or else the one
// Outlook Express recorded, read anew each time it is asked for.
class StoreLocation {
public:
  std::string Root() const;

  // Uses `folder` for the rest of this run and remembers it in the user's settings, so the
  // next choice can start there. Throws std::runtime_error when the settings cannot be
  // written; the folder is used for this run all the same.
  void ChooseFolder(const std::string& folder);

  // The folder chosen in an earlier run, if any.
  static std::optional<std::string> RememberedFolder();

private:
  std::optional<std::string> chosen_;
};

} // namespace app
