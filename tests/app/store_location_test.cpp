#include "app/store_location.h"
#include "platform/registry.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using testenv::IsolatedUser;
using testenv::WriteFile;

constexpr char kHeader[] = "WINE REGISTRY Version 2\n\n";
constexpr char kId[] = "{6E3C1F0A-7B2D-4C59-8A41-2F9D3B7E5C10}";

std::string FirstChoice(const std::string& root) {
  return "[Software\\\\Microsoft\\\\Outlook Express] 1\n\"Store Root\"=\"" + root + "\"\n\n";
}

std::string Identity(const std::string& id, const std::string& root) {
  return "[Identities] 1\n\"Default User ID\"=\"" + id + "\"\n\n[Identities\\\\" + id +
         "\\\\Software\\\\Microsoft\\\\Outlook Express\\\\5.0] 1\n\"Store Root\"=str(2):\"" + root +
         "\"\n\n";
}

struct RootCase {
  const char* what;
  std::string wine_hive;     // the prefix's user.reg, after the header
  std::string writable_hive; // the program's own, after the header; empty for none
  std::string expected;
};

void PrintTo(const RootCase& c, std::ostream* os) {
  *os << c.what;
}

class StoreRoot : public testing::TestWithParam<RootCase> {};

TEST_P(StoreRoot, ComesFromTheRecordedValues) {
  IsolatedUser user;
  testenv::ScopedVariable store("SALVORA_STORE", "/srv/mail");
  WriteFile(user.wine_hive(), kHeader + GetParam().wine_hive);
  if (!GetParam().writable_hive.empty())
    WriteFile(user.writable_hive(), kHeader + GetParam().writable_hive);
  EXPECT_EQ(app::GetStoreRoot(), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoreRoot,
    testing::Values(
        RootCase{"nothing recorded", "", "", ""},
        RootCase{"first choice", FirstChoice("/one"), "", "/one"},
        RootCase{"both: the first wins", FirstChoice("/one") + Identity(kId, "/two"), "", "/one"},
        RootCase{"identity only", Identity(kId, "/two"), "", "/two"},
        RootCase{"empty first choice", FirstChoice("") + Identity(kId, "/two"), "", "/two"},
        RootCase{
            "identity in other letter case",
            "[Identities] 1\n\"default user id\"=\"{6e3c1f0a-7b2d-4c59-8a41-2f9d3b7e5c10}\"\n"
            "[IDENTITIES\\\\{6E3C1F0A-7B2D-4C59-8A41-2F9D3B7E5C10}\\\\software\\\\microsoft\\\\"
            "outlook express\\\\5.0] 1\n\"STORE ROOT\"=\"/two\"\n",
            "", "/two"},
        RootCase{"default identity names no key",
                 Identity("{other}", "/two") + "[Identities] 1\n\"Default User ID\"=\"{gone}\"\n",
                 "", ""},
        RootCase{"no default identity",
                 "[Identities\\\\{x}\\\\Software\\\\Microsoft\\\\Outlook Express\\\\5.0] 1\n"
                 "\"Store Root\"=\"/two\"\n",
                 "", ""},
        RootCase{"environment reference", FirstChoice("%Salvora_Store%\\\\Store"), "",
                 "/srv/mail\\Store"},
        RootCase{"unknown reference stays", FirstChoice("%SALVORA_NOPE%/x"), "",
                 "%SALVORA_NOPE%/x"},
        RootCase{"escapes", FirstChoice("/m\\x00e9l \\\"x\\\""), "", "/m\xC3\xA9l \"x\""},
        RootCase{"writable hive wins", FirstChoice("/one"), FirstChoice("/mine"), "/mine"},
        RootCase{"corrupt hive", "[Software\\\\Microsoft\\\\Outlook Express\n\"Store Root\"=\"/x",
                 "", ""},
        RootCase{"trailing separator kept", FirstChoice("/one/"), "", "/one/"}),
    [](const testing::TestParamInfo<RootCase>& info) { return std::to_string(info.index); });

TEST(StoreRoot, WindowsPathsLeadIntoTheWinePrefix) {
  IsolatedUser user;
  std::filesystem::create_directories(user.prefix() + "/drive_c/users/Bob/Local Settings");
  std::filesystem::create_directories(user.prefix() + "/dosdevices");
  std::filesystem::create_symlink("../drive_c", user.prefix() + "/dosdevices/c:");
  WriteFile(user.wine_hive(),
            kHeader + Identity(kId, "%UserProfile%\\\\local settings\\\\OE") +
                "[Volatile Environment] 1\n\"USERPROFILE\"=\"C:\\\\users\\\\bob\"\n");
  EXPECT_EQ(app::GetStoreRoot(), user.prefix() + "/dosdevices/c:/users/Bob/Local Settings/OE");
}

TEST(StoreRoot, AMissingPrefixOrHiveIsNoError) {
  IsolatedUser user;
  testenv::ScopedVariable prefix("WINEPREFIX", user / "no-such-prefix");
  testenv::ScopedVariable config("XDG_CONFIG_HOME", user / "no-such-config");
  EXPECT_EQ(app::GetStoreRoot(), "");
}

struct JoinCase {
  const char* root;
  const char* name;
  const char* expected;
};

TEST(JoinStorePath, AddsOneSeparatorOnlyWhenNeeded) {
  for (const JoinCase& c : {JoinCase{"/store", "Inbox.dbx", "/store/Inbox.dbx"},
                            JoinCase{"/store/", "Inbox.dbx", "/store/Inbox.dbx"},
                            JoinCase{"C:\\store\\", "Inbox.dbx", "C:\\store\\Inbox.dbx"},
                            JoinCase{"", "Inbox.dbx", "Inbox.dbx"}})
    EXPECT_EQ(app::JoinStorePath(c.root, c.name), c.expected) << c.root;
}

TEST(StoreLocation, AChosenFolderOverridesTheRecordedOneForTheRunAndIsRemembered) {
  IsolatedUser user;
  WriteFile(user.wine_hive(), kHeader + FirstChoice("/recorded"));
  EXPECT_EQ(app::StoreLocation::RememberedFolder(), std::nullopt);
  {
    app::StoreLocation run;
    EXPECT_EQ(run.Root(), "/recorded");
    run.ChooseFolder("/home/me/old store");
    EXPECT_EQ(run.Root(), "/home/me/old store");
    EXPECT_EQ(app::GetStoreRoot(), "/recorded");
  }
  EXPECT_EQ(app::StoreLocation::RememberedFolder(), "/home/me/old store");
  EXPECT_EQ(app::StoreLocation().Root(), "/recorded") << "the next run starts from the record";
  EXPECT_NE(testenv::ReadFile(user.writable_hive()).find("\"Store Folder\"=\"/home/me/old store\""),
            std::string::npos);
}

TEST(StoreLocation, RootIsReadAnewEachTime) {
  IsolatedUser user;
  app::StoreLocation run;
  EXPECT_EQ(run.Root(), "");
  WriteFile(user.wine_hive(), kHeader + FirstChoice("/later"));
  EXPECT_EQ(run.Root(), "/later");
}

} // namespace
