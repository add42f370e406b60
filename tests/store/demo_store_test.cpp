// The bundled demo store is what the generator writes: regenerating it changes no byte, and
// every folder file in it yields its messages.
#include "store/uoexpress.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The command interpreter of Windows takes off the first and the last quote of a command that
// starts with one; a second pair keeps the quotes around the program's path.
std::string ShellCommand(const std::string& command) {
#ifdef _WIN32
  return '"' + command + '"';
#else
  return command;
#endif
}

TEST(DemoStore, CommittedFilesMatchTheGenerator) {
  const fs::path committed = DEMO_STORE_DIR;
  const fs::path fresh = fs::temp_directory_path() / ("salvora-demo-" + std::to_string(::getpid()));
  std::string command = std::string("\"") + MAKE_DEMO_STORE + "\" \"" + fresh.string() + "\"";
  ASSERT_EQ(std::system(ShellCommand(command).c_str()), 0);
  int files = 0;
  for (const auto& entry : fs::directory_iterator(fresh)) {
    ++files;
    EXPECT_EQ(ReadFile(entry.path()), ReadFile(committed / entry.path().filename()))
        << entry.path().filename() << " differs: rebuild the target demo-store and commit it";
  }
  EXPECT_EQ(files, 7);
  fs::remove_all(fresh);
}

TEST(DemoStore, EveryMessageFolderHasMessagesAndSomeHaveDeletedOnes) {
  const fs::path store = DEMO_STORE_DIR;
  int live_total = 0, deleted_total = 0;
  for (const char* name :
       {"Inbox.dbx", "Sent Items.dbx", "Deleted Items.dbx", "Drafts.dbx", "Projects.dbx"}) {
    std::vector<uoexpress::Toe5_MessageInfo> live, deleted;
    uoexpress::ReadMessageInfos((store / name).string(), live);
    uoexpress::ReadDeletedMessageInfos((store / name).string(), deleted);
    EXPECT_FALSE(live.empty()) << name;
    live_total += static_cast<int>(live.size());
    deleted_total += static_cast<int>(deleted.size());
    for (const auto& info : deleted) {
      std::string text;
      uoexpress::ReadDeletedMessageText((store / name).string(), info.DataOffset, text, true);
      EXPECT_NE(text.find("\r\n\r\n"), std::string::npos) << name; // header and body came back
    }
  }
  EXPECT_EQ(live_total, 10);
  EXPECT_EQ(deleted_total, 5);
}

} // namespace
