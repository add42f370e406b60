// Files on Windows: listing, working copies, new files that never replace, and the unshared
// open that keeps Outlook Express and us from using a folder file at the same time.
#include "platform/exclusive_file.h"
#include "platform/file_system.h"
#include "platform/new_file.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>
#include <windows.h>

namespace {

using testenv::ReadFile;
using testenv::TempFolder;
using testenv::WriteFile;

TEST(FileSystemWindows, ListsSortedIgnoringCaseAndTellsFilesFromFolders) {
  TempFolder store;
  for (const char* name : {"sent Items.dbx", "Inbox.dbx", "Deleted Items.dbx"})
    WriteFile(store / name, "x");
  std::filesystem::create_directory(store / "Archive.dbx");
  std::vector<std::string> names;
  std::vector<bool> files;
  for (const auto& entry : platform::ListDirectory(store.path())) {
    names.push_back(entry.name);
    files.push_back(entry.is_file);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"Archive.dbx", "Deleted Items.dbx", "Inbox.dbx",
                                             "sent Items.dbx"}));
  EXPECT_EQ(files, (std::vector<bool>{false, true, true, true}));
  EXPECT_EQ(platform::ListDirectory(store.path() + '\\').size(), names.size());
  EXPECT_TRUE(platform::ListDirectory(store / "missing").empty());
}

TEST(FileSystemWindows, CopiesOverAnEarlierCopyAndNeverOntoTheSource) {
  TempFolder folder;
  WriteFile(folder / "store.dbx", "new content");
  WriteFile(folder / "copy.dbx", "a much longer earlier content");
  ASSERT_TRUE(platform::CopyFileReplacing(folder / "store.dbx", folder / "copy.dbx"));
  EXPECT_EQ(ReadFile(folder / "copy.dbx"), "new content");

  EXPECT_FALSE(platform::CopyFileReplacing(folder / "store.dbx", folder / "store.dbx"));
  EXPECT_FALSE(platform::CopyFileReplacing(folder / "store.dbx", folder.path() + "\\.\\store.dbx"));
  EXPECT_EQ(ReadFile(folder / "store.dbx"), "new content");
  EXPECT_FALSE(platform::CopyFileReplacing(folder / "missing.dbx", folder / "copy1.dbx"));
  EXPECT_FALSE(std::filesystem::exists(folder / "copy1.dbx"));
}

TEST(FileSystemWindows, CopyOfAReadOnlyStoreFileCanBeRemoved) {
  TempFolder folder;
  WriteFile(folder / "store.dbx", "x");
  ASSERT_TRUE(::SetFileAttributesA((folder / "store.dbx").c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(platform::CopyFileReplacing(folder / "store.dbx", folder / "copy.dbx"));
  EXPECT_TRUE(platform::RemoveFile(folder / "copy.dbx"));
  ::SetFileAttributesA((folder / "store.dbx").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FileSystemWindows, AFileHeldExclusivelyCannotBeCopiedOrOpenedAgain) {
  TempFolder folder;
  WriteFile(folder / "Inbox.dbx", "held");
  auto held = platform::OpenExclusiveForReading(folder / "Inbox.dbx");
  ASSERT_NE(held, nullptr);
  EXPECT_FALSE(platform::CopyFileReplacing(folder / "Inbox.dbx", folder / "copy.dbx"));
  EXPECT_FALSE(std::filesystem::exists(folder / "copy.dbx"));
  EXPECT_EQ(platform::OpenExclusiveForReading(folder / "Inbox.dbx"), nullptr);
  held.reset();
  EXPECT_TRUE(platform::CopyFileReplacing(folder / "Inbox.dbx", folder / "copy.dbx"));
}

TEST(FileSystemWindows, FoldersAndRemoval) {
  TempFolder folder;
  EXPECT_TRUE(platform::MakeDirectory(folder / "Recovered"));
  EXPECT_TRUE(platform::DirectoryExists(folder / "Recovered"));
  EXPECT_FALSE(platform::MakeDirectory(folder / "Recovered"));
  WriteFile(folder / "file", "x");
  EXPECT_FALSE(platform::DirectoryExists(folder / "file"));
  EXPECT_FALSE(platform::DirectoryExists(""));
  EXPECT_TRUE(platform::RemoveFile(folder / "file"));
  EXPECT_FALSE(platform::RemoveFile(folder / "file"));
}

TEST(NewFileWindows, WritesWholeFilesAndNeverReplacesOne) {
  TempFolder folder;
  const std::string path = folder.path() + "\\Hello.eml";
  EXPECT_EQ(platform::WriteNewFile(path, "first"), platform::NewFileResult::Created);
  EXPECT_EQ(ReadFile(path), "first");
  EXPECT_TRUE(platform::PathExists(path));
  EXPECT_EQ(platform::WriteNewFile(path, "second"), platform::NewFileResult::AlreadyExists);
  EXPECT_EQ(ReadFile(path), "first");
  std::filesystem::create_directory(folder / "Taken.eml");
  EXPECT_EQ(platform::WriteNewFile(folder.path() + "\\Taken.eml", "x"),
            platform::NewFileResult::AlreadyExists);
  // No temporary file stays behind.
  EXPECT_EQ(platform::ListDirectory(folder.path()).size(), 2u);
}

TEST(NewFileWindows, AMissingFolderIsAnErrorNamingTheFile) {
  TempFolder folder;
  const std::string path = folder.path() + "\\missing\\Hello.eml";
  try {
    platform::WriteNewFile(path, "x");
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()), "Cannot create file " + path);
  }
}

} // namespace
