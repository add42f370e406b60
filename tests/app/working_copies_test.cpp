#include "app/working_copies.h"
#include "platform/pump.h"
#include "recording_notifier.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using app::FolderFile;
using testenv::ReadFile;
using testenv::WriteFile;

int pumped = 0;
void CountingPump() {
  ++pumped;
}

class WorkingCopiesTest : public testing::Test {
protected:
  void SetUp() override {
    std::filesystem::create_directories(temp_);
    for (const char* name : {"Inbox.dbx", "Sent Items.dbx", "Deleted Items.dbx"})
      WriteFile(store_ / name, std::string("contents of ") + name);
    pumped = 0;
    platform::SetMessagePump(CountingPump);
  }
  void TearDown() override { platform::SetMessagePump(nullptr); }

  app::WorkingCopies Make() {
    return app::WorkingCopies(
        temp_ + '/', [this] { return store_.path(); }, notifier_);
  }

  testenv::IsolatedUser user_;
  testenv::TempFolder store_;
  std::string temp_ = user_ / "private";
  testenv::RecordingNotifier notifier_;
};

TEST_F(WorkingCopiesTest, CopiesTickedFilesInOrderUnderTheirOwnNames) {
  auto copies = Make();
  ASSERT_TRUE(copies.BackupFolderFiles(
      {{"Inbox.dbx", true}, {"Sent Items.dbx", false}, {"Deleted Items.dbx", true}}));
  EXPECT_EQ(copies.BackupFileList(),
            (std::vector<std::string>{temp_ + "/Inbox.dbx", temp_ + "/Deleted Items.dbx"}));
  EXPECT_EQ(ReadFile(copies.CopyPath("Deleted Items.dbx")), "contents of Deleted Items.dbx");
  EXPECT_FALSE(std::filesystem::exists(temp_ + "/Sent Items.dbx"));
  struct stat info {};
  ASSERT_EQ(::stat(copies.CopyPath("Inbox.dbx").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_TRUE(notifier_.warnings.empty());
  EXPECT_EQ(pumped, 3) << "the pump runs once per item";
  EXPECT_FALSE(notifier_.busy);
  EXPECT_GT(notifier_.busy_changes, 0);
}

TEST_F(WorkingCopiesTest, TheSecondOfThreeFailing) {
  auto copies = Make();
  EXPECT_FALSE(copies.BackupFolderFiles(
      {{"Inbox.dbx", true}, {"Vanished.dbx", true}, {"Deleted Items.dbx", true}}));
  EXPECT_EQ(copies.BackupFileList(), std::vector<std::string>{temp_ + "/Inbox.dbx"});
  EXPECT_FALSE(std::filesystem::exists(temp_ + "/Vanished.dbx"));
  EXPECT_FALSE(std::filesystem::exists(temp_ + "/Deleted Items.dbx")) << "copying stopped";
  EXPECT_EQ(notifier_.warnings, std::vector<std::string>{"Cannot backup dbx file."});
  EXPECT_EQ(notifier_.busy_when_warned, std::vector<bool>{false}) << "pointer restored first";
  // The copies made before the failure go with the next deletion.
  copies.DeleteBackupFiles();
  EXPECT_FALSE(std::filesystem::exists(temp_ + "/Inbox.dbx"));
  EXPECT_TRUE(copies.BackupFileList().empty());
}

TEST_F(WorkingCopiesTest, NextAgainDeletesTheFirstCopiesBeforeMakingNewOnes) {
  auto copies = Make();
  ASSERT_TRUE(copies.BackupFolderFiles({{"Inbox.dbx", true}, {"Sent Items.dbx", true}}));
  WriteFile(store_ / "Inbox.dbx", "newer contents");
  ASSERT_TRUE(copies.BackupFolderFiles({{"Inbox.dbx", true}, {"Sent Items.dbx", false}}));
  EXPECT_EQ(copies.BackupFileList(), std::vector<std::string>{temp_ + "/Inbox.dbx"});
  EXPECT_EQ(ReadFile(temp_ + "/Inbox.dbx"), "newer contents");
  EXPECT_FALSE(std::filesystem::exists(temp_ + "/Sent Items.dbx"));
  ASSERT_TRUE(copies.BackupFolderFiles({{"Inbox.dbx", true}}));
  EXPECT_EQ(copies.BackupFileList().size(), 1u);
}

TEST_F(WorkingCopiesTest, NothingTickedCopiesNothing) {
  auto copies = Make();
  EXPECT_TRUE(copies.BackupFolderFiles({{"Inbox.dbx", false}}));
  EXPECT_TRUE(copies.BackupFolderFiles({}));
  EXPECT_TRUE(copies.BackupFileList().empty());
  EXPECT_TRUE(std::filesystem::is_empty(temp_));
  EXPECT_TRUE(notifier_.warnings.empty());
}

TEST_F(WorkingCopiesTest, NamesLeadingOutOfTheFoldersAreRefused) {
  WriteFile(user_ / "outside.dbx", "not part of the store");
  for (const std::string name : {"../outside.dbx", "..", "sub/Inbox.dbx", "sub\\Inbox.dbx"}) {
    auto copies = Make();
    EXPECT_FALSE(copies.BackupFolderFiles({{name, true}})) << name;
    EXPECT_TRUE(copies.BackupFileList().empty());
  }
  EXPECT_TRUE(std::filesystem::is_empty(temp_));
}

TEST_F(WorkingCopiesTest, NoStoreRootMeansTheCopyFails) {
  app::WorkingCopies copies(
      temp_ + '/', [] { return std::string(); }, notifier_);
  EXPECT_FALSE(copies.BackupFolderFiles({{"Inbox.dbx", true}}));
  EXPECT_EQ(notifier_.warnings, std::vector<std::string>{"Cannot backup dbx file."});
}

TEST_F(WorkingCopiesTest, TheStoreRootIsAskedForEveryFile) {
  testenv::TempFolder moved;
  WriteFile(moved / "Sent Items.dbx", "moved store");
  int asked = 0;
  app::WorkingCopies copies(
      temp_ + '/', [&] { return ++asked == 1 ? store_.path() : moved.path(); }, notifier_);
  ASSERT_TRUE(copies.BackupFolderFiles({{"Inbox.dbx", true}, {"Sent Items.dbx", true}}));
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(ReadFile(temp_ + "/Sent Items.dbx"), "moved store");
}

TEST_F(WorkingCopiesTest, FailedDeletionsAreSilentAndForgotten) {
  auto copies = Make();
  ASSERT_TRUE(copies.BackupFolderFiles({{"Inbox.dbx", true}, {"Sent Items.dbx", true}}));
  std::filesystem::remove(temp_ + "/Inbox.dbx");
  copies.DeleteBackupFiles();
  EXPECT_TRUE(copies.BackupFileList().empty());
  EXPECT_FALSE(std::filesystem::exists(temp_ + "/Sent Items.dbx"));
  EXPECT_TRUE(notifier_.warnings.empty());
}

} // namespace
