#include "platform/known_folders.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace {

TEST(ProgramFolder, IsTheFolderOfTheRunningProgramWithASeparator) {
  const std::string folder = platform::GetProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(std::filesystem::exists(folder + "platform_os_tests"));
}

TEST(HomeFolder, ComesFromHomeOrElseTheAccount) {
  const passwd* entry = ::getpwuid(::getuid());
  ASSERT_NE(entry, nullptr);
  const std::string account = entry->pw_dir;
  struct Case {
    std::optional<std::string> home;
    std::string expected;
  };
  for (const Case& c : {Case{"/home/someone", "/home/someone"}, Case{std::nullopt, account},
                        Case{"", account}, Case{"relative/home", account}}) {
    testenv::ScopedVariable home("HOME", c.home);
    EXPECT_EQ(platform::GetHomeFolder(), c.expected) << c.home.value_or("(unset)");
  }
}

} // namespace
