// salvora.exe run as a user runs it on Windows: the store found through the registry, the
// folder files scanned and the deleted messages saved, the version in the file's resource.
#include "registry_test_key.h"
#include "scoped_environment.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <windows.h>

namespace {

namespace fs = std::filesystem;
using testenv::ReadFile;
using testenv::TempFolder;

struct Outcome {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// Runs the program through the command interpreter, as a user at the prompt would.
Outcome RunSalvora(const std::string& arguments) {
  TempFolder folder;
  const std::string out = folder.path() + "\\out.txt";
  const std::string err = folder.path() + "\\err.txt";
  // cmd takes the outer quotes off and keeps the inner ones.
  const std::string command =
      "\"\"" SALVORA_PROGRAM "\" " + arguments + " >\"" + out + "\" 2>\"" + err + "\"\"";
  Outcome outcome;
  outcome.exit_code = std::system(command.c_str());
  outcome.out = ReadFile(out);
  outcome.err = ReadFile(err);
  return outcome;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++n;
  return n;
}

std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// The demo store recorded as Outlook Express records it: an expandable "Store Root" of the
// default identity.
class SalvoraWindows : public testing::Test {
protected:
  void SetUp() override {
    if (!testenv::RegistryIsPrivate())
      GTEST_SKIP() << "would change this user's Outlook Express settings";
    express_.emplace("Software\\Microsoft\\Outlook Express");
    identities_.emplace("Identities");
    settings_.emplace("Software\\SalvoraExpress");
    const std::string id = "{6E3C1F0A-7B2D-4C59-8A41-2F9D3B7E5C10}";
    ASSERT_TRUE(testenv::WriteRegistryValue(HKEY_CURRENT_USER, "Identities", "Default User ID",
                                            REG_SZ, id));
    ASSERT_TRUE(testenv::WriteRegistryValue(
        HKEY_CURRENT_USER, "Identities\\" + id + "\\Software\\Microsoft\\Outlook Express\\5.0",
        "Store Root", REG_EXPAND_SZ, "%SALVORA_DEMO_STORE%"));
  }

  testenv::ScopedVariable store_{"SALVORA_DEMO_STORE", DEMO_STORE_DIR};
  std::optional<testenv::ScopedRegistryKey> express_, identities_, settings_;
};

TEST_F(SalvoraWindows, ScanListsEveryMessageOfTheStoreInTheRegistry) {
  const Outcome folders = RunSalvora("folders");
  ASSERT_EQ(folders.exit_code, 0) << folders.err;
  EXPECT_NE(folders.out.find("Inbox.dbx"), std::string::npos) << folders.out;

  const Outcome json = RunSalvora("scan --all-folders --format json");
  ASSERT_EQ(json.exit_code, 0) << json.err;
  EXPECT_EQ(Count(json.out, "\"folder\": "), 15u);
  EXPECT_EQ(Count(json.out, "\"deleted\": true"), 5u);
  EXPECT_NE(json.out.find("\"subject\": \"Gr\xC3\xBC\xC3\x9F"
                          "e aus M\xC3\xBCnchen\""),
            std::string::npos);
  // Local time of the system's zone, which Windows takes from its settings, not from TZ.
  EXPECT_NE(json.out.find("\"date\": \"2003-03-0"), std::string::npos) << json.out;
}

TEST_F(SalvoraWindows, SaveWritesTheDeletedMessagesAndNeverReplacesThem) {
  TempFolder folder;
  const std::string out = folder.path() + "\\recovered";
  const Outcome saved = RunSalvora("save --all-folders -o \"" + out + "\"");
  ASSERT_EQ(saved.exit_code, 0) << saved.err;
  const std::vector<std::string> expected{"Floor_plans__revision_B.eml", "Lunch_next_week_.eml",
                                          "Re__Quarterly_figures.eml", "Reuni_n_del_martes.eml",
                                          "You_have_been_selected___.eml"};
  EXPECT_EQ(FileNames(out), expected);
  const std::string message = ReadFile(out + "\\Lunch_next_week_.eml");
  EXPECT_NE(message.find("Subject: Lunch next week?\r\n"), std::string::npos);

  const Outcome again = RunSalvora("save --all-folders -o \"" + out + "\"");
  ASSERT_EQ(again.exit_code, 0) << again.err;
  EXPECT_EQ(FileNames(out).size(), 10u);
  EXPECT_TRUE(fs::exists(out + "\\Lunch_next_week__1.eml"));
}

TEST_F(SalvoraWindows, AFolderFileHeldByAnotherProgramIsNotRead) {
  // A store of its own: other tests read the demo store meanwhile.
  TempFolder store;
  fs::copy_file(std::string(DEMO_STORE_DIR) + "\\Inbox.dbx", store / "Inbox.dbx");
  // Outlook Express holds its open folder files without sharing; so does this handle.
  HANDLE held = ::CreateFileA((store / "Inbox.dbx").c_str(), GENERIC_READ, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const Outcome busy = RunSalvora("scan --store \"" + store.path() + "\" Inbox.dbx");
  ::CloseHandle(held);
  EXPECT_NE(busy.exit_code, 0);
  EXPECT_EQ(Count(busy.out, "Inbox.dbx"), 0u) << busy.out;

  const Outcome free = RunSalvora("scan --store \"" + store.path() + "\" Inbox.dbx");
  EXPECT_EQ(free.exit_code, 0) << free.err;
  EXPECT_EQ(Count(free.out, "Inbox.dbx"), 7u) << free.out;
}

TEST(SalvoraWindowsFile, CarriesItsVersionResource) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(SALVORA_PROGRAM, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(::GetFileVersionInfoA(SALVORA_PROGRAM, 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, (SALVORA_VERSION_MAJOR << 16) | SALVORA_VERSION_MINOR);
  char* name = nullptr;
  ASSERT_TRUE(::VerQueryValueA(block.data(), "\\StringFileInfo\\040904E4\\ProductName",
                               reinterpret_cast<void**>(&name), &length));
  EXPECT_EQ(std::string(name), "Salvora for Outlook Express");
}

TEST(SalvoraWindowsFile, VersionAndUsage) {
  const Outcome version = RunSalvora("--version");
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out.substr(0, 8), "salvora ");
  const Outcome wrong = RunSalvora("scan --format xml");
  EXPECT_EQ(wrong.exit_code, 2);
  EXPECT_NE(wrong.err.find("unknown format"), std::string::npos);
}

} // namespace
