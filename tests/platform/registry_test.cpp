#include "platform/registry.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/stat.h>

namespace {

using platform::RegKey;
using testenv::IsolatedUser;
using testenv::WriteFile;

constexpr char kWineHive[] = R"(WINE REGISTRY Version 2

[Software\\Test] 1
"Shared"="from wine"
"WineOnly"="wine value"
)";

TEST(RegKey, MissingKeysDoNotOpenAndReadNothing) {
  IsolatedUser user;
  RegKey key;
  EXPECT_FALSE(key.Open("Software\\Test"));
  EXPECT_FALSE(key.Valid());
  EXPECT_EQ(key.ReadString("Shared"), std::nullopt);
  EXPECT_THROW(key.WriteString("A", "b"), std::logic_error);
  EXPECT_FALSE(std::filesystem::exists(user.writable_hive())) << "opening never creates";
}

TEST(RegKey, WritableHiveWinsOverTheWinePrefix) {
  IsolatedUser user;
  WriteFile(user.wine_hive(), kWineHive);
  WriteFile(user.writable_hive(),
            "WINE REGISTRY Version 2\n\n[Software\\\\Test] 1\n\"Shared\"=\"mine\"\n");
  RegKey key;
  ASSERT_TRUE(key.Open("\\software\\TEST"));
  EXPECT_EQ(key.ReadString("shared"), "mine");
  EXPECT_EQ(key.ReadString("WineOnly"), "wine value");
  EXPECT_EQ(key.ReadString("Nothing"), std::nullopt);
}

TEST(RegKey, WritesGoToTheWritableHiveOnly) {
  IsolatedUser user;
  WriteFile(user.wine_hive(), kWineHive);
  {
    RegKey key;
    key.Create("Software\\Test");
    key.WriteString("Shared", "written");
    key.WriteString("New", "value");
  }
  EXPECT_EQ(testenv::ReadFile(user.wine_hive()), kWineHive);
  RegKey key;
  ASSERT_TRUE(key.Open("Software\\Test"));
  EXPECT_EQ(key.ReadString("Shared"), "written");
  EXPECT_EQ(key.ReadString("New"), "value");
  EXPECT_EQ(key.ReadString("WineOnly"), "wine value");

  struct stat info {};
  ASSERT_EQ(::stat(user.writable_hive().c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  // The temporary file of the atomic write is gone.
  const auto folder = std::filesystem::path(user.writable_hive()).parent_path();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(RegKey, CreateMakesAKeyThatLaterOpens) {
  IsolatedUser user;
  RegKey created;
  created.Create("Software\\SalvoraExpress");
  EXPECT_TRUE(created.Valid());
  RegKey opened;
  EXPECT_TRUE(opened.Open("Software\\SalvoraExpress"));
  EXPECT_EQ(opened.ReadString("Save Path"), std::nullopt);
}

TEST(RegKey, CorruptHivesReadAsEmptyAndAreReplacedOnWrite) {
  IsolatedUser user;
  WriteFile(user.wine_hive(), std::string("\x7f\x45\x4c\x46\0\0garbage[Software\\\\Test]", 26));
  WriteFile(user.writable_hive(), "WINE REGISTRY Version 2\n[Software\\\\Test\n\"A\"=\"unfinished");
  RegKey key;
  EXPECT_FALSE(key.Open("Software\\Test"));
  key.Create("Software\\Test");
  key.WriteString("A", "fine");
  RegKey again;
  ASSERT_TRUE(again.Open("Software\\Test"));
  EXPECT_EQ(again.ReadString("A"), "fine");
}

TEST(RegKey, UnwritableHiveReportsTheFile) {
  IsolatedUser user;
  testenv::ScopedVariable config("XDG_CONFIG_HOME", testenv::UnwritableFolder() + "salvora");
  RegKey key;
  try {
    key.Create("Software\\SalvoraExpress");
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + testenv::UnwritableFolder() +
                                             "salvora/SalvoraExpress/user.reg");
  }
}

} // namespace
