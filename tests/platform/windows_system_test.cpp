// The smaller Windows services: the temporary folder, environment references, the program's
// own folder, the path separator, window lookup and the time zone.
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/known_folders.h"
#include "platform/native_path.h"
#include "platform/path_separator.h"
#include "platform/program_file.h"
#include "platform/temp_directory.h"
#include "platform/time_zone.h"
#include "platform/window_lookup.h"
#include "scoped_environment.h"

#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(WindowsSystem, TempDirectoryIsTheUsersTempFolderWithASeparator) {
  char expected[MAX_PATH + 1] = {};
  ASSERT_NE(::GetTempPathA(sizeof expected, expected), 0u);
  const std::string folder = platform::GetTempDirectory();
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_TRUE(platform::DirectoryExists(folder));
  EXPECT_EQ(folder, expected);
}

TEST(WindowsSystem, TempDirectoryIsMadeWhenTheVariableNamesAMissingFolder) {
  testenv::TempFolder root;
  const std::string missing = root.path() + "\\gone";
  testenv::ScopedVariable tmp("TMP", missing);
  EXPECT_EQ(platform::GetTempDirectory(), missing + "\\");
  EXPECT_TRUE(std::filesystem::is_directory(missing));
}

TEST(WindowsSystem, EnvironmentReferencesExpandAndUnknownOnesStay) {
  testenv::ScopedVariable store("SALVORA_STORE", "D:\\Mail");
  EXPECT_EQ(platform::ExpandEnvironmentReferences("%salvora_store%\\Store"), "D:\\Mail\\Store");
  EXPECT_EQ(platform::ExpandEnvironmentReferences("%SALVORA_NOPE%\\x"), "%SALVORA_NOPE%\\x");
  EXPECT_EQ(platform::ExpandEnvironmentReferences("100%"), "100%");
  const std::string long_value(3000, 'v');
  testenv::ScopedVariable big("SALVORA_LONG", long_value);
  EXPECT_EQ(platform::ExpandEnvironmentReferences("[%SALVORA_LONG%]"), "[" + long_value + "]");
}

TEST(WindowsSystem, PathsAreWindowsPaths) {
  EXPECT_EQ(platform::kPathSeparator, '\\');
  EXPECT_EQ(platform::ToNativePath("C:\\Users\\x\\Mail"), "C:\\Users\\x\\Mail");
  const std::string program = platform::GetProgramFile();
  EXPECT_TRUE(program.ends_with("platform_windows_tests.exe")) << program;
  EXPECT_EQ(platform::GetProgramFolder(), program.substr(0, program.find_last_of('\\') + 1));
  EXPECT_TRUE(platform::DirectoryExists(platform::GetHomeFolder())) << platform::GetHomeFolder();
}

TEST(WindowsSystem, WindowLookupFindsATopLevelWindowByItsTitle) {
  EXPECT_FALSE(platform::TopLevelWindowExists("Outlook Express"));
  // A message-only window is not top-level; a plain hidden one is.
  HWND window = ::CreateWindowExA(0, "STATIC", "Salvora Test Outlook Express", WS_POPUP, 0, 0, 1, 1,
                                  nullptr, nullptr, ::GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr)
    GTEST_SKIP() << "no window station to make windows in";
  EXPECT_TRUE(platform::TopLevelWindowExists("Salvora Test Outlook Express"));
  EXPECT_FALSE(platform::TopLevelWindowExists("Salvora Test Outlook"));
  ::DestroyWindow(window);
  EXPECT_FALSE(platform::TopLevelWindowExists("Salvora Test Outlook Express"));
}

// Without TZ the C library takes its zone from the same system settings, by its own rules.
TEST(WindowsSystem, TimeZoneBiasIsTheLocalOffsetTheCLibraryKnows) {
  testenv::ScopedVariable tz("TZ", std::nullopt);
  ::_tzset();
  const std::time_t now = std::time(nullptr);
  std::tm local = *std::localtime(&now);
  std::tm utc = *std::gmtime(&now);
  utc.tm_isdst = local.tm_isdst;
  const double c_library_days = std::difftime(std::mktime(&local), std::mktime(&utc)) / 86400;
  EXPECT_NEAR(platform::CurrentLocalTimeBias(), c_library_days, 1e-9);
}

} // namespace
