#include "platform/temp_directory.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using testenv::IsolatedUser;

std::string OwnFolder(const IsolatedUser& user) {
  return user.tmp() + "/salvora-" + std::to_string(::getuid());
}

// A folder of ours that nobody else may enter, given with a trailing separator.
void ExpectPrivate(const std::string& folder) {
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  struct stat info {};
  ASSERT_EQ(::lstat(folder.c_str(), &info), 0);
  EXPECT_TRUE(S_ISDIR(info.st_mode));
  EXPECT_EQ(info.st_uid, ::getuid());
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST(TempDirectory, IsAPrivateFolderOfTheUserInsideTheSystemOne) {
  IsolatedUser user;
  const std::string folder = platform::GetTempDirectory();
  EXPECT_EQ(folder, OwnFolder(user) + '/');
  ExpectPrivate(folder);
  EXPECT_EQ(platform::GetTempDirectory(), folder) << "the same folder on the next call";
}

TEST(TempDirectory, AnOpenedUpFolderOfOursIsClosedAgain) {
  IsolatedUser user;
  ASSERT_EQ(::mkdir(OwnFolder(user).c_str(), 0777), 0);
  ASSERT_EQ(::chmod(OwnFolder(user).c_str(), 0777), 0);
  EXPECT_EQ(platform::GetTempDirectory(), OwnFolder(user) + '/');
  ExpectPrivate(OwnFolder(user) + '/');
}

TEST(TempDirectory, APlantedLinkIsRefused) {
  IsolatedUser user;
  const std::string elsewhere = user / "elsewhere";
  std::filesystem::create_directories(elsewhere);
  std::filesystem::create_directory_symlink(elsewhere, OwnFolder(user));
  const std::string folder = platform::GetTempDirectory();
  EXPECT_NE(folder, OwnFolder(user) + '/');
  EXPECT_EQ(folder.rfind(user.tmp() + '/', 0), 0u);
  ExpectPrivate(folder);
}

TEST(TempDirectory, AFolderOfSomeoneElseIsRefused) {
  IsolatedUser user;
  ASSERT_EQ(::mkdir(OwnFolder(user).c_str(), 0700), 0);
  if (::chown(OwnFolder(user).c_str(), ::getuid() + 4321, static_cast<gid_t>(-1)) != 0)
    GTEST_SKIP() << "only root can give a folder to another user";
  const std::string folder = platform::GetTempDirectory();
  EXPECT_NE(folder, OwnFolder(user) + '/');
  ExpectPrivate(folder);
}

} // namespace
