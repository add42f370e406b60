// New files that appear whole under the first free name, never replacing anything.
#include "platform/file_time.h"
#include "platform/new_file.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(NewFile, TakesTheFirstFreeNameWithItsDateAndTheUsualMode) {
  testenv::TempFolder folder;
  const std::string base = folder.path();
  auto name_for = [&](int n) {
    return base + "/a" + (n == 0 ? "" : "_" + std::to_string(n)) + ".eml";
  };
  // Taken: a file, a folder, and a link to nowhere, which must not be written through.
  testenv::WriteFile(name_for(0), "first");
  fs::create_directory(name_for(1));
  fs::create_symlink(base + "/nowhere", name_for(2));

  const std::string name =
      platform::WriteNewFileUnderFirstFreeName(name_for, "the message", 1046686467);
  EXPECT_EQ(name, name_for(3));
  EXPECT_EQ(testenv::ReadFile(name), "the message");
  EXPECT_EQ(testenv::ReadFile(name_for(0)), "first");
  EXPECT_FALSE(fs::exists(base + "/nowhere"));
  std::int64_t modified = 0;
  ASSERT_TRUE(platform::GetFileModificationTime(name, modified));
  EXPECT_EQ(modified, 1046686467);
  struct stat info {};
  ASSERT_EQ(::stat(name.c_str(), &info), 0);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
  // No temporary file is left beside them.
  EXPECT_EQ(Names(base), (std::vector<std::string>{"a.eml", "a_1.eml", "a_2.eml", "a_3.eml"}));

  // Without a date the file keeps the time of saving; in a missing folder it is an error
  // naming the first name.
  const std::string dateless = platform::WriteNewFileUnderFirstFreeName(name_for, "x");
  EXPECT_EQ(dateless, name_for(4));
  ASSERT_TRUE(platform::GetFileModificationTime(dateless, modified));
  EXPECT_GT(modified, 1046686467);
  try {
    platform::WriteNewFileUnderFirstFreeName([&](int) { return base + "/gone/a.eml"; }, "x");
    ADD_FAILURE() << "written into a missing folder";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + base + "/gone/a.eml");
  }
}

} // namespace
