#include "platform/exclusive_file.h"
#include "platform/file_system.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using testenv::ReadFile;
using testenv::TempFolder;
using testenv::WriteFile;

TEST(ListDirectory, SortsByNameIgnoringCaseAndTellsFilesFromFolders) {
  TempFolder store;
  for (const char* name : {"sent Items.dbx", "Inbox.dbx", "b.dbx", "Deleted Items.dbx", "B.dbx"})
    WriteFile(store / name, "x");
  std::filesystem::create_directory(store / "Archive.dbx");
  std::filesystem::create_symlink(store / "Inbox.dbx", store / "link.dbx");

  std::vector<std::string> names;
  std::vector<bool> files;
  for (const auto& entry : platform::ListDirectory(store.path())) {
    names.push_back(entry.name);
    files.push_back(entry.is_file);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Archive.dbx", "B.dbx", "b.dbx", "Deleted Items.dbx",
                                             "Inbox.dbx", "link.dbx", "sent Items.dbx"}));
  EXPECT_EQ(files, (std::vector<bool>{false, true, true, true, true, true, true}));
  EXPECT_EQ(platform::ListDirectory(store.path() + '/').size(), names.size());
}

TEST(ListDirectory, UnreadableFolderListsNothing) {
  EXPECT_TRUE(platform::ListDirectory("/nonexistent/salvora").empty());
  EXPECT_TRUE(platform::ListDirectory("").empty());
}

TEST(CopyFileReplacing, CopiesPrivatelyOverAnEarlierCopy) {
  TempFolder folder;
  WriteFile(folder / "store.dbx", "new content");
  WriteFile(folder / "copy.dbx", "a much longer earlier content");
  ::chmod((folder / "copy.dbx").c_str(), 0644);
  ASSERT_TRUE(platform::CopyFileReplacing(folder / "store.dbx", folder / "copy.dbx"));
  EXPECT_EQ(ReadFile(folder / "copy.dbx"), "new content");
  struct stat info {};
  ASSERT_EQ(::stat((folder / "copy.dbx").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(CopyFileReplacing, FailuresLeaveNoTargetAndNeverHarmTheSource) {
  TempFolder folder;
  WriteFile(folder / "store.dbx", "precious");
  WriteFile(folder / "victim", "untouched");
  std::filesystem::create_symlink(folder / "victim", folder / "planted.dbx");
  std::filesystem::create_directory(folder / "dir.dbx");

  EXPECT_FALSE(platform::CopyFileReplacing(folder / "missing.dbx", folder / "copy1.dbx"));
  EXPECT_FALSE(std::filesystem::exists(folder / "copy1.dbx"));
  EXPECT_FALSE(platform::CopyFileReplacing(folder / "dir.dbx", folder / "copy2.dbx"));
  EXPECT_FALSE(std::filesystem::exists(folder / "copy2.dbx"));
  EXPECT_FALSE(platform::CopyFileReplacing(folder / "store.dbx", folder / "planted.dbx"));
  EXPECT_EQ(ReadFile(folder / "victim"), "untouched");
  EXPECT_FALSE(platform::CopyFileReplacing(folder / "store.dbx", folder / "store.dbx"));
  EXPECT_FALSE(platform::CopyFileReplacing(folder / "store.dbx", folder.path() + "/./store.dbx"));
  EXPECT_EQ(ReadFile(folder / "store.dbx"), "precious");
  EXPECT_FALSE(platform::CopyFileReplacing(folder / "store.dbx", folder / "no/such/folder.dbx"));
}

// The reader's lock refuses a copy from or onto the file it holds, as Windows does; a held
// target keeps every byte under the reader. Once the reader lets go, the copy goes through.
TEST(CopyFileReplacing, AFileTheReaderHoldsIsNeitherCopiedNorReplaced) {
  for (const char* held_name : {"store.dbx", "copy.dbx"}) {
    SCOPED_TRACE(held_name);
    TempFolder folder;
    WriteFile(folder / "store.dbx", "new content");
    WriteFile(folder / "copy.dbx", "the copy the reader is reading");
    const std::string held_content = ReadFile(folder / held_name);
    auto held = platform::OpenExclusiveForReading(folder / held_name);
    ASSERT_NE(held, nullptr);

    EXPECT_FALSE(platform::CopyFileReplacing(folder / "store.dbx", folder / "copy.dbx"));
    EXPECT_EQ(ReadFile(folder / "copy.dbx"), "the copy the reader is reading");
    std::string seen(held_content.size(), '\0');
    EXPECT_EQ(held->ReadAt(0, seen.data(), seen.size()), held_content.size());
    EXPECT_EQ(seen, held_content);

    held.reset();
    EXPECT_TRUE(platform::CopyFileReplacing(folder / "store.dbx", folder / "copy.dbx"));
    EXPECT_EQ(ReadFile(folder / "copy.dbx"), "new content");
  }
}

TEST(FileSystem, FoldersAndRemoval) {
  TempFolder folder;
  EXPECT_TRUE(platform::MakeDirectory(folder / "Recovered"));
  EXPECT_TRUE(platform::DirectoryExists(folder / "Recovered"));
  EXPECT_FALSE(platform::MakeDirectory(folder / "Recovered"));
  EXPECT_FALSE(platform::MakeDirectory(testenv::UnwritableFolder() + "Recovered"));
  WriteFile(folder / "file", "x");
  EXPECT_FALSE(platform::DirectoryExists(folder / "file"));
  EXPECT_FALSE(platform::DirectoryExists(""));
  EXPECT_TRUE(platform::RemoveFile(folder / "file"));
  EXPECT_FALSE(platform::RemoveFile(folder / "file"));
}

} // namespace
