// The folder database: names, parents and files from a real Folders.dbx and from generated
// ones, and hostile databases that must neither stop nor mislead the reader.
#include "folder_database_writer.h"
#include "store/folder_database.h"
#include "store/uoexpress.h"
#include "temp_store.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace dbxtest {
namespace {

using uoexpress::FolderPaths;
using uoexpress::FolderRecord;

struct Named {
  std::int32_t index, parent;
  std::string name, file, path;
  bool operator==(const Named&) const = default;
};

void PrintTo(const Named& n, std::ostream* os) {
  *os << n.index << ' ' << n.parent << " '" << n.name << "' '" << n.file << "' '" << n.path << "'";
}

std::vector<Named> Read(const std::string& path) {
  const std::vector<FolderRecord> records = uoexpress::ReadFolderRecords(path);
  const FolderPaths paths(records);
  std::vector<Named> named;
  for (const FolderRecord& record : records)
    named.push_back(
        {record.Index, record.ParentIndex, record.Name, record.FileName, paths.Of(record)});
  return named;
}

std::vector<Named> Read(const DbxImage& image) {
  return Read(TempStore(image).path());
}

TEST(FolderDatabase, RealFoldersDbxNamesEveryFolder) {
  const std::filesystem::path file =
      std::filesystem::path(SALVORA_SHARED_SAMPLES) / "dzw-store/Folders.dbx";
  if (!std::filesystem::exists(file))
    GTEST_SKIP() << "no shared samples at " << SALVORA_SHARED_SAMPLES;
  EXPECT_EQ(Read(file.string()), (std::vector<Named>{
                                     {0, -1, "Outlook Express", "", "Outlook Express"},
                                     {1, 0, "Local Folders", "", "Local Folders"},
                                     {4, 1, "Inbox", "Inbox.dbx", "Local Folders/Inbox"},
                                     {5, 1, "Outbox", "Outbox.dbx", "Local Folders/Outbox"},
                                     {6, 1, "Sent Items", "", "Local Folders/Sent Items"},
                                     {7, 1, "Deleted Items", "", "Local Folders/Deleted Items"},
                                     {8, 1, "Drafts", "", "Local Folders/Drafts"},
                                     {9, 0, "Hotmail", "", "Hotmail"},
                                 }));
}

TEST(FolderDatabase, GeneratedDatabaseRoundTripsOverSeveralNodes) {
  std::vector<FolderEntry> folders = {{0, -1, "Outlook Express", ""},
                                      {1, 0, "Local Folders", ""},
                                      {2, 1, "Work", "Work.dbx"},
                                      {3, 2, "Projects 2003", "Projects.dbx"}};
  // More folders than one node holds, and numbers too big for a direct value.
  for (int i = 0; i < 60; ++i)
    folders.push_back({(1 << 24) + i, 2, "Client " + std::to_string(i), ""});
  const std::vector<Named> named = Read(FolderDatabase(folders));
  ASSERT_EQ(named.size(), folders.size());
  EXPECT_EQ(named[3],
            (Named{3, 2, "Projects 2003", "Projects.dbx", "Local Folders/Work/Projects 2003"}));
  EXPECT_EQ(named[63], (Named{(1 << 24) + 59, 2, "Client 59", "", "Local Folders/Work/Client 59"}));
}

// A damaged database: what each case leaves readable, and nothing else.
struct DamageCase {
  const char* what;
  std::function<void(std::vector<FolderEntry>&)> folders;
  std::function<void(DbxImage&)> damage;
  std::vector<std::string> paths; // of every record read, in order
};

void PrintTo(const DamageCase& c, std::ostream* os) {
  *os << c.what;
}

class DamagedFolderDatabase : public testing::TestWithParam<DamageCase> {};

TEST_P(DamagedFolderDatabase, KeepsWhatIsReadable) {
  std::vector<FolderEntry> folders = {
      {0, -1, "Outlook Express", ""}, {1, 0, "Local Folders", ""}, {4, 1, "Inbox", "Inbox.dbx"}};
  if (GetParam().folders)
    GetParam().folders(folders);
  DbxImage image = FolderDatabase(folders);
  if (GetParam().damage)
    GetParam().damage(image);
  std::vector<std::string> paths;
  for (const Named& named : Read(image))
    paths.push_back(named.path);
  EXPECT_EQ(paths, GetParam().paths);
}

std::vector<FolderEntry>& Add(std::vector<FolderEntry>& folders, FolderEntry entry) {
  folders.push_back(std::move(entry));
  return folders;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedFolderDatabase,
    testing::Values(
        DamageCase{"intact", {}, {}, {"Outlook Express", "Local Folders", "Local Folders/Inbox"}},
        DamageCase{"parent and child name each other",
                   [](auto& f) {
                     Add(f, {10, 11, "A", "A.dbx"});
                     Add(f, {11, 10, "B", "B.dbx"});
                   },
                   {},
                   {"Outlook Express", "Local Folders", "Local Folders/Inbox", "B/A", "A/B"}},
        DamageCase{"a folder is its own parent",
                   [](auto& f) {
                     Add(f, {10, 10, "Self", "Self.dbx"});
                   },
                   {},
                   {"Outlook Express", "Local Folders", "Local Folders/Inbox", "Self"}},
        DamageCase{"the parent's record is missing",
                   [](auto& f) {
                     Add(f, {10, 77, "Orphan", "Orphan.dbx"});
                   },
                   {},
                   {"Outlook Express", "Local Folders", "Local Folders/Inbox", "Orphan"}},
        DamageCase{"a record fails its self-offset test",
                   {},
                   [](DbxImage& image) { image.PutInt32(FolderRecordOffset(1), 4); },
                   {"Outlook Express", "Inbox"}},
        DamageCase{"a record's entry count is zero",
                   {},
                   [](DbxImage& image) {
                     image.PutBytes(FolderRecordOffset(2) + 10, {"\0", 1});
                   },
                   {"Outlook Express", "Local Folders"}},
        DamageCase{"a name runs to the end of its record without a NUL",
                   {},
                   [](DbxImage& image) {
                     // Body length: the four entries' table and three bytes of values.
                     image.PutInt32(FolderRecordOffset(2) + 4, 4 * 4 + 3);
                   },
                   {"Outlook Express", "Local Folders", "Local Folders/Inb"}},
        DamageCase{"a name longer than Windows allows is cut at 260 bytes",
                   [](auto& f) {
                     Add(f, {10, 1, std::string(300, 'n'), "N.dbx"});
                   },
                   {},
                   {"Outlook Express", "Local Folders", "Local Folders/Inbox",
                    "Local Folders/" + std::string(260, 'n')}},
        DamageCase{"two records give one folder number: the first wins",
                   [](auto& f) {
                     Add(f, {4, 0, "Inbox again", "Other.dbx"});
                   },
                   {},
                   {"Outlook Express", "Local Folders", "Local Folders/Inbox"}},
        DamageCase{
            "the index node names itself as its child",
            {},
            [](DbxImage& image) { image.PutInt32(kFolderNodesStart + 8, kFolderNodesStart); },
            {"Outlook Express", "Local Folders", "Local Folders/Inbox"}},
        DamageCase{
            "an entry's child leads back to the root node",
            {},
            [](DbxImage& image) { image.PutInt32(kFolderNodesStart + 24 + 4, kFolderNodesStart); },
            {"Outlook Express", "Local Folders", "Local Folders/Inbox"}},
        DamageCase{"the first tree is lost, the second still names the records",
                   {},
                   [](DbxImage& image) {
                     image.PutInt32(0xE4, 0);
                     image.PutInt32(0xE8, kFolderNodesStart);
                   },
                   {"Outlook Express", "Local Folders", "Local Folders/Inbox"}},
        DamageCase{"an entry count beyond the node is cut to the node's 51 entries",
                   [](auto& f) {
                     for (int i = 0; i < 52; ++i)
                       Add(f, {100 + i, 1, "F" + std::to_string(i), ""});
                   },
                   [](DbxImage& image) {
                     // One node of 51 entries whose count claims 55: the four after it belong
                     // to the next node and are read through its child link only.
                     image.PutUInt32(kFolderNodesStart + 16, 55 << 8);
                     image.PutInt32(kFolderNodesStart + 8, 0);
                   },
                   [] {
                     std::vector<std::string> paths = {"Outlook Express", "Local Folders",
                                                       "Local Folders/Inbox"};
                     for (int i = 0; i < 48; ++i)
                       paths.push_back("Local Folders/F" + std::to_string(i));
                     return paths;
                   }()},
        DamageCase{"a chain of parents longer than any real tree",
                   [](auto& f) {
                     f.resize(1);
                     for (int i = 1; i <= 70; ++i)
                       Add(f, {i, i - 1, "L" + std::to_string(i), ""});
                   },
                   {},
                   [] {
                     // A path holds at most 64 names: the deepest ones.
                     std::vector<std::string> paths = {"Outlook Express"};
                     for (int i = 1; i <= 70; ++i) {
                       std::string names;
                       for (int j = std::max(1, i - 63); j <= i; ++j)
                         names += (names.empty() ? "L" : "/L") + std::to_string(j);
                       paths.push_back(names);
                     }
                     return paths;
                   }()}));

TEST(FolderDatabase, FilesThatAreNoFolderDatabaseGiveNothing) {
  // A message folder file with records where a folder database has them.
  DbxImage message_file =
      FolderDatabase({{0, -1, "Outlook Express", ""}, {4, 0, "Inbox", "I.dbx"}});
  message_file.PutBytes(4, "\xC5");
  EXPECT_EQ(Read(message_file), std::vector<Named>{});
  EXPECT_EQ(Read(DbxImage(4)), std::vector<Named>{});
  EXPECT_EQ(Read(DbxImage(0)), std::vector<Named>{});
  EXPECT_THROW(uoexpress::ReadFolderRecords("/nonexistent/Folders.dbx"), uoexpress::EFOpenError);
}

} // namespace
} // namespace dbxtest
