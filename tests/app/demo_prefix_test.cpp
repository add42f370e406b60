// The demo store under the sample Wine prefix is found as a user's Outlook Express store
// would be: through the identity's "Store Root" and the prefix's profile folder.
#include "app/folder_list.h"
#include "app/store_location.h"
#include "scoped_environment.h"
#include "text/ascii.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr char kStoreBelowProfile[] =
    "/Local Settings/Application Data/Identities/{6E3C1F0A-7B2D-4C59-8A41-2F9D3B7E5C10}/"
    "Microsoft/Outlook Express";

class DemoPrefix : public testing::Test {
protected:
  testenv::IsolatedUser user_;
  testenv::ScopedVariable prefix_{"WINEPREFIX", SALVORA_DEMO_PREFIX};
};

TEST_F(DemoPrefix, GetStoreRootFindsTheDemoStore) {
  EXPECT_EQ(app::GetStoreRoot(),
            std::string(SALVORA_DEMO_PREFIX) + "/dosdevices/c:/users/demo" + kStoreBelowProfile);
}

TEST_F(DemoPrefix, TheFolderListShowsTheMailFoldersOnly) {
  const std::string root = app::GetStoreRoot();
  if (!std::filesystem::is_directory(root))
    GTEST_SKIP() << "the demo folder files are not generated yet";
  std::error_code error;
  EXPECT_TRUE(std::filesystem::equivalent(
      root, std::string(SALVORA_DEMO_PREFIX) + "/drive_c/users/demo" + kStoreBelowProfile, error));
  std::vector<std::string> names;
  for (const app::FolderFile& folder : app::FillFolderList(root)) {
    names.push_back(folder.name);
    EXPECT_EQ(folder.ticked, folder.name == "Deleted Items.dbx") << folder.name;
  }
  for (const char* name : {"Inbox.dbx", "Sent Items.dbx", "Deleted Items.dbx", "Drafts.dbx"})
    EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
  for (const char* name : {"Folders.dbx", "Pop3uidl.dbx"}) {
    EXPECT_TRUE(std::filesystem::exists(root + '/' + name)) << name;
    EXPECT_EQ(std::find(names.begin(), names.end(), name), names.end()) << name;
  }
  EXPECT_TRUE(std::is_sorted(names.begin(), names.end(), [](const auto& a, const auto& b) {
    return text::CompareIgnoringAsciiCase(a, b) < 0;
  }));
}

} // namespace
