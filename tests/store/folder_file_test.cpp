// A folder file held open for a run reads exactly what the one-call-per-open functions read.
#include "store_test_util.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dbxtest {
namespace {

namespace fs = std::filesystem;

struct Everything {
  std::vector<uoexpress::Toe5_MessageInfo> live, deleted;
  std::vector<uoexpress::Toe5_FoundMessage> found;
  std::vector<std::string> texts; // previews, then full texts, of every message listed
  uoexpress::Toe5_FileState state;
};

// Reads everything through `read`, which is given the listings to fill and a text reader.
Everything ReadWithPaths(const std::string& path) {
  Everything all;
  uoexpress::ReadMessageInfos(path, all.live);
  uoexpress::ReadDeletedMessageInfos(path, all.deleted);
  uoexpress::ReadFoundMessageInfos(path, {}, all.found);
  for (bool full : {false, true}) {
    std::string text;
    for (const auto& info : all.live) {
      uoexpress::ReadMessageText(path, info.DataOffset, text, full);
      all.texts.push_back(text);
    }
    for (const auto& info : all.deleted) {
      uoexpress::ReadDeletedMessageText(path, info.DataOffset, text, full);
      all.texts.push_back(text);
    }
    for (const auto& message : all.found) {
      uoexpress::ReadFoundMessageText(path, message, text, full);
      all.texts.push_back(text);
    }
  }
  all.state = uoexpress::ReadFileState(path);
  return all;
}

Everything ReadHeldOpen(const std::string& path) {
  uoexpress::FolderFile file(path);
  Everything all;
  file.ReadMessageInfos(all.live);
  file.ReadDeletedMessageInfos(all.deleted);
  file.ReadFoundMessageInfos({}, all.found);
  for (bool full : {false, true}) {
    std::string text;
    for (const auto& info : all.live) {
      file.ReadMessageText(info.DataOffset, text, full);
      all.texts.push_back(text);
    }
    for (const auto& info : all.deleted) {
      file.ReadDeletedMessageText(info.DataOffset, text, full);
      all.texts.push_back(text);
    }
    for (const auto& message : all.found) {
      file.ReadFoundMessageText(message, text, full);
      all.texts.push_back(text);
    }
  }
  all.state = file.ReadFileState();
  return all;
}

TEST(FolderFile, ReadsWhatTheOneCallFunctionsRead) {
  std::vector<std::string> files;
  for (const char* sample :
       {"iped/test_OutlookDBX.dbx", "dzw-store/Inbox.dbx", "perl-mtdbx/test.dbx"})
    if (fs::exists(fs::path(SALVORA_SHARED_SAMPLES) / sample))
      files.push_back((fs::path(SALVORA_SHARED_SAMPLES) / sample).string());
  // A generated store, intact and with its message count gone.
  StoreBuilder builder;
  for (int i = 0; i < 30; ++i)
    builder.AddMessage("Subject: " + std::to_string(i) + "\r\n\r\n" + std::string(700 * i, 'x'));
  for (int i : {4, 17, 9})
    builder.DeleteMessage(i);
  DbxImage intact = builder.Build(4);
  DbxImage countless = intact;
  countless.SetMessageCount(0);
  TempStore first(intact), second(countless);
  files.push_back(first.path());
  files.push_back(second.path());

  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    Everything expected = ReadWithPaths(path);
    Everything held = ReadHeldOpen(path);
    EXPECT_EQ(held.live, expected.live);
    EXPECT_EQ(held.deleted, expected.deleted);
    EXPECT_EQ(held.found, expected.found);
    EXPECT_EQ(held.texts, expected.texts);
    EXPECT_EQ(held.state.MessageCount, expected.state.MessageCount);
    EXPECT_EQ(held.state.RootHasEntries, expected.state.RootHasEntries);
  }
}

TEST(FolderFile, NonPositiveOffsetsLeaveTheTextAlone) {
  TempStore store(StoreBuilder().Build());
  uoexpress::FolderFile file(store.path());
  for (std::int32_t offset : {0, -528}) {
    std::string text = "untouched";
    file.ReadMessageText(offset, text, true);
    file.ReadDeletedMessageText(offset, text, true);
    EXPECT_EQ(text, "untouched");
  }
  // A found block may stand at the very start of a source; only negative places are no place.
  std::string text = "untouched";
  uoexpress::Toe5_FoundMessage nowhere;
  nowhere.DataOffset = -528;
  nowhere.BlockCount = 1;
  file.ReadFoundMessageText(nowhere, text, true);
  EXPECT_EQ(text, "untouched");
  EXPECT_THROW(uoexpress::FolderFile("/nonexistent/Inbox.dbx"), uoexpress::EFOpenError);
}

} // namespace
} // namespace dbxtest
