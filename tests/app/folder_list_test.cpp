#include "app/folder_list.h"
#include "folder_database_writer.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

struct NameCase {
  const char* name;
  bool listed;
  bool ticked;
};

void PrintTo(const NameCase& c, std::ostream* os) {
  *os << c.name;
}

class FolderFileName : public testing::TestWithParam<NameCase> {};

TEST_P(FolderFileName, DecidesListingAndTick) {
  EXPECT_EQ(app::IsRecoverableFolderFile(GetParam().name), GetParam().listed);
  EXPECT_EQ(app::IsTickedByDefault(GetParam().name), GetParam().ticked);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FolderFileName,
    testing::Values(NameCase{"Inbox.dbx", true, false}, NameCase{"INBOX.DBX", true, false},
                    NameCase{"Deleted Items.dbx", true, true},
                    NameCase{"my DELETED stuff.dbx", true, true},
                    NameCase{"Inbox.dbx.bak", true, false}, NameCase{"Folders.dbx", false, false},
                    NameCase{"FOLDERS.DBX", false, false}, NameCase{"Pop3uidl.dbx", false, false},
                    NameCase{"pop3UIDL.dbx", false, false}, NameCase{"Offline.DBX", false, false},
                    NameCase{"old folders.dbx", true, false}, NameCase{"notes.txt", false, false},
                    NameCase{"deleted.txt", false, true}, NameCase{"Inbox.db", false, false}));

TEST(FillFolderList, ListsFolderFilesSortedAndTicksDeletedOnes) {
  testenv::TempFolder store;
  for (const char* name :
       {"Sent Items.dbx", "Folders.dbx", "POP3UIDL.DBX", "offline.dbx", "Deleted Items.dbx",
        "Inbox.dbx", "notes.txt", "drafts.DBX", "Inbox.dbx.old"})
    testenv::WriteFile(store / name, "x");
  std::filesystem::create_directory(store / "Archive.dbx");

  std::vector<std::pair<std::string, bool>> listed;
  for (const app::FolderFile& folder : app::FillFolderList(store.path()))
    listed.emplace_back(folder.name, folder.ticked);
  EXPECT_EQ(listed, (std::vector<std::pair<std::string, bool>>{{"Deleted Items.dbx", true},
                                                               {"drafts.DBX", false},
                                                               {"Inbox.dbx", false},
                                                               {"Inbox.dbx.old", false},
                                                               {"Sent Items.dbx", false}}));
  EXPECT_EQ(app::FillFolderList(store.path() + '/').size(), listed.size());
}

TEST(FillFolderList, NoStoreFolderListsNothing) {
  testenv::TempFolder working;
  testenv::WriteFile(working / "Inbox.dbx", "x");
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(working.path());
  EXPECT_TRUE(app::FillFolderList("").empty()) << "an empty root is not the working folder";
  std::filesystem::current_path(cwd);
  EXPECT_TRUE(app::FillFolderList(working / "missing").empty());
  EXPECT_TRUE(app::FillFolderList(working / "Inbox.dbx").empty());
}

struct Shown {
  std::string file, name, path;
  bool operator==(const Shown&) const = default;
};

void PrintTo(const Shown& s, std::ostream* os) {
  *os << s.file << " '" << s.name << "' '" << s.path << "'";
}

std::vector<Shown> ShownFolders(const std::string& root) {
  std::vector<Shown> shown;
  for (const app::FolderFile& folder : app::FillFolderList(root))
    shown.push_back({folder.name, folder.display_name, folder.display_path});
  return shown;
}

TEST(FillFolderList, NamesFolderFilesAfterTheFolderDatabase) {
  testenv::TempFolder store;
  for (const char* name : {"Inbox.dbx", "Projects.dbx", "Stray.dbx", "Nameless.dbx"})
    testenv::WriteFile(store / name, "x");
  dbxtest::FolderDatabase({{0, -1, "Outlook Express", ""},
                           {1, 0, "Local Folders", ""},
                           {4, 1, "Inbox", "INBOX.DBX"},
                           {20, 1, "Work", ""},
                           {21, 20, "Building project", "C:\\Store\\Projects.dbx"},
                           {22, 1, "", "Nameless.dbx"},
                           {23, 1, "Not in the store", "Gone.dbx"}})
      .WriteTo(store / "folders.DBX");
  EXPECT_EQ(ShownFolders(store.path()),
            (std::vector<Shown>{
                {"Inbox.dbx", "Inbox", "Local Folders/Inbox"},
                {"Nameless.dbx", "Nameless.dbx", "Nameless.dbx"},
                {"Projects.dbx", "Building project", "Local Folders/Work/Building project"},
                {"Stray.dbx", "Stray.dbx", "Stray.dbx"}}));
}

TEST(FillFolderList, AnUnreadableFolderDatabaseLeavesTheFileNames) {
  const std::vector<Shown> file_names = {{"Inbox.dbx", "Inbox.dbx", "Inbox.dbx"}};
  for (const std::string& database : {std::string(), std::string(5000, '\xFF')}) {
    testenv::TempFolder store;
    testenv::WriteFile(store / "Inbox.dbx", "x");
    testenv::WriteFile(store / "Folders.dbx", database);
    EXPECT_EQ(ShownFolders(store.path()), file_names) << database.size();
  }
  testenv::TempFolder store;
  testenv::WriteFile(store / "Inbox.dbx", "x");
  std::filesystem::create_directory(store / "Folders.dbx");
  EXPECT_EQ(ShownFolders(store.path()), file_names) << "a folder named Folders.dbx";
}

TEST(FillFolderList, RealStoreShowsOutlookExpressNames) {
  const std::string store = std::string(SALVORA_SHARED_SAMPLES) + "/dzw-store";
  if (!std::filesystem::exists(store + "/Folders.dbx"))
    GTEST_SKIP() << "no shared samples at " << SALVORA_SHARED_SAMPLES;
  EXPECT_EQ(ShownFolders(store),
            (std::vector<Shown>{{"Inbox.dbx", "Inbox", "Local Folders/Inbox"},
                                {"Outbox.dbx", "Outbox", "Local Folders/Outbox"}}));
}

struct IconCase {
  const char* name;
  int index;
};

TEST(FolderImageIndex, FirstMatchingNameDecides) {
  for (const IconCase& c :
       {IconCase{"Inbox.dbx", 5}, IconCase{"Outbox.dbx", 6}, IconCase{"SENT ITEMS.dbx", 7},
        IconCase{"Sent Items (2).dbx", 7}, IconCase{"deleted items.dbx", 8},
        IconCase{"Drafts.dbx", 9}, IconCase{"Work.dbx", 5}, IconCase{"inbox drafts.dbx", 5},
        IconCase{"Drafts of Outbox.dbx", 6}, IconCase{"Deleted.dbx", 5},
        IconCase{"SentItems.dbx", 5}, IconCase{"", 5}})
    EXPECT_EQ(app::FolderImageIndex(c.name), c.index) << c.name;
}

} // namespace
