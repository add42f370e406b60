#include "platform/environment.h"
#include "platform/native_path.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using platform::ExpandEnvironmentReferences;
using testenv::IsolatedUser;
using testenv::ScopedVariable;

constexpr char kWineHive[] = R"(WINE REGISTRY Version 2

[Volatile Environment] 1
"USERPROFILE"="C:\\users\\wineuser"
"APPDATA"="C:\\users\\wineuser\\Application Data"

[Environment] 1
"TEMP"="%USERPROFILE%\\Temp"
"LOOP"="%LOOP%x"
)";

struct ExpandCase {
  const char* text;
  const char* expected;
};

void PrintTo(const ExpandCase& c, std::ostream* os) {
  *os << c.text;
}

class Expand : public testing::TestWithParam<ExpandCase> {};

TEST_P(Expand, ReplacesKnownReferences) {
  IsolatedUser user;
  testenv::WriteFile(user.wine_hive(), kWineHive);
  ScopedVariable known("SALVORA_KNOWN", "value");
  ScopedVariable path("SALVORA_PATH", "/p");
  EXPECT_EQ(ExpandEnvironmentReferences(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Expand,
    testing::Values(
        ExpandCase{"plain text", "plain text"}, ExpandCase{"%SALVORA_KNOWN%\\x", "value\\x"},
        ExpandCase{"%salvora_known%", "value"},
        ExpandCase{"a%SALVORA_KNOWN%b%SALVORA_KNOWN%c", "avaluebvaluec"},
        ExpandCase{"%SALVORA_UNKNOWN%\\x", "%SALVORA_UNKNOWN%\\x"},
        // The closing % of an unknown name may open the next reference.
        ExpandCase{"%nope%SALVORA_PATH%", "%nope/p"}, ExpandCase{"100%", "100%"},
        ExpandCase{"%%", "%%"}, ExpandCase{"50% of %SALVORA_KNOWN", "50% of %SALVORA_KNOWN"},
        // Names the environment lacks take Wine's values for the prefix.
        ExpandCase{"%UserProfile%\\Local Settings", "C:\\users\\wineuser\\Local Settings"},
        ExpandCase{"%APPDATA%", "C:\\users\\wineuser\\Application Data"},
        ExpandCase{"%TEMP%", "C:\\users\\wineuser\\Temp"}, ExpandCase{"%LOOP%", "%LOOP%xxxx"}));

TEST(Expand, TheProcessEnvironmentWinsOverWine) {
  IsolatedUser user;
  testenv::WriteFile(user.wine_hive(), kWineHive);
  ScopedVariable profile("USERPROFILE", "D:\\profile");
  EXPECT_EQ(ExpandEnvironmentReferences("%UserProfile%\\x"), "D:\\profile\\x");
}

TEST(Expand, WineProfileFollowsTheLoginNameWhenThePrefixKeepsNone) {
  IsolatedUser user;
  ScopedVariable login("USER", "alice");
  EXPECT_EQ(ExpandEnvironmentReferences("%USERPROFILE%\\x"), "C:\\users\\alice\\x");
  EXPECT_EQ(ExpandEnvironmentReferences("%APPDATA%"), "%APPDATA%");
}

class NativePath : public testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(user_.prefix() + "/drive_c/users/Demo/Local Settings");
    std::filesystem::create_directories(user_.prefix() + "/dosdevices");
    std::filesystem::create_symlink("../drive_c", user_.prefix() + "/dosdevices/c:");
  }
  std::string C() const { return user_.prefix() + "/dosdevices/c:"; }
  IsolatedUser user_;
};

TEST_F(NativePath, DrivePathsMapIntoThePrefixIgnoringLetterCase) {
  EXPECT_EQ(platform::ToNativePath("C:\\USERS\\demo\\local settings"),
            C() + "/users/Demo/Local Settings");
  EXPECT_EQ(platform::ToNativePath("c:/users/demo/"), C() + "/users/Demo/");
  EXPECT_TRUE(std::filesystem::is_directory(platform::ToNativePath("C:\\users\\DEMO")));
  // What does not exist is kept as written.
  EXPECT_EQ(platform::ToNativePath("C:\\Users\\demo\\New Folder\\Inbox.dbx"),
            C() + "/users/Demo/New Folder/Inbox.dbx");
  EXPECT_EQ(platform::ToNativePath("D:\\data"), user_.prefix() + "/dosdevices/d:/data");
}

TEST_F(NativePath, OtherPathsStayAsTheyAre) {
  for (const char* path :
       {"/home/me/store", "relative\\path", "\\\\server\\share", "", "C", "CD:\\x", "1:\\x"})
    EXPECT_EQ(platform::ToNativePath(path), path);
}

} // namespace
