// The store lookup against the real registry, with the values written as Outlook Express and
// reg.exe write them.
#include "app/store_location.h"
#include "registry_test_key.h"
#include "scoped_environment.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

using testenv::ScopedRegistryKey;

constexpr char kOutlookExpress[] = "Software\\Microsoft\\Outlook Express";
constexpr char kIdentities[] = "Identities";
constexpr char kId[] = "{6E3C1F0A-7B2D-4C59-8A41-2F9D3B7E5C10}";

class StoreRootWindows : public testing::Test {
protected:
  void SetUp() override {
    if (!testenv::RegistryIsPrivate())
      GTEST_SKIP() << "would change this user's Outlook Express settings";
    express_.emplace(kOutlookExpress);
    identities_.emplace(kIdentities);
  }
  std::optional<ScopedRegistryKey> express_;
  std::optional<ScopedRegistryKey> identities_;
};

TEST_F(StoreRootWindows, NothingRecordedGivesNothing) {
  EXPECT_EQ(app::GetStoreRoot(), "");
}

TEST_F(StoreRootWindows, TheIdentitysExpandableStoreRootIsExpanded) {
  testenv::ScopedVariable mail("SALVORA_MAIL", "D:\\Mail");
  const std::string identity_key =
      std::string(kIdentities) + "\\" + kId + "\\Software\\Microsoft\\Outlook Express\\5.0";
  ASSERT_TRUE(
      testenv::WriteRegistryValue(HKEY_CURRENT_USER, kIdentities, "Default User ID", REG_SZ, kId));
  ASSERT_TRUE(testenv::WriteRegistryValue(HKEY_CURRENT_USER, identity_key, "Store Root",
                                          REG_EXPAND_SZ, "%SALVORA_MAIL%\\Identity"));
  EXPECT_EQ(app::GetStoreRoot(), "D:\\Mail\\Identity");

  // The value Outlook Express keeps outside the identities comes first.
  ASSERT_TRUE(testenv::WriteRegistryValue(HKEY_CURRENT_USER, kOutlookExpress, "Store Root", REG_SZ,
                                          "E:\\First"));
  EXPECT_EQ(app::GetStoreRoot(), "E:\\First");
}

TEST_F(StoreRootWindows, AValueWrittenByRegExeIsFound) {
  const std::string command = "reg add \"HKCU\\Software\\Microsoft\\Outlook Express\" /v "
                              "\"Store Root\" /t REG_EXPAND_SZ /d \"%SystemDrive%\\Store\" /f "
                              ">NUL 2>NUL";
  ASSERT_EQ(std::system(command.c_str()), 0);
  const char* drive = std::getenv("SystemDrive");
  ASSERT_NE(drive, nullptr);
  EXPECT_EQ(app::GetStoreRoot(), std::string(drive) + "\\Store");
}

TEST_F(StoreRootWindows, StoreNamesAreJoinedWithABackslash) {
  EXPECT_EQ(app::JoinStorePath("C:\\Store", "Inbox.dbx"), "C:\\Store\\Inbox.dbx");
  EXPECT_EQ(app::JoinStorePath("C:\\Store\\", "Inbox.dbx"), "C:\\Store\\Inbox.dbx");
}

} // namespace
