// The `salvora` program as a script would use it: output formats, saved files, exit codes
// and Ctrl-C, on the demo prefix and on generated stores.
#include "dbx_writer.h"
#include "disk_image.h"
#include "platform/sha256.h"
#include "scoped_environment.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using testenv::TempFolder;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

struct Outcome {
  int exit_code = -1;
  std::string out;
  std::string err;
};

// A private home for the program: its settings, the Wine prefix it looks in and its
// temporary folder all lie in one temporary folder.
class Program {
public:
  explicit Program(std::string prefix = SALVORA_DEMO_PREFIX) : prefix_(std::move(prefix)) {
    fs::create_directories(home_ / "tmp");
  }

  pid_t Start(const std::vector<std::string>& args) {
    pid_t child = ::fork();
    if (child == 0) {
      ::setenv("HOME", home_.path().c_str(), 1);
      ::setenv("XDG_CONFIG_HOME", (home_ / "config").c_str(), 1);
      ::setenv("TMPDIR", (home_ / "tmp").c_str(), 1);
      ::setenv("WINEPREFIX", prefix_.c_str(), 1);
      ::setenv("TZ", "UTC", 1);
      int out = ::open((home_ / "out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      int err = ::open((home_ / "err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(out, 1);
      ::dup2(err, 2);
      std::vector<char*> argv;
      argv.push_back(const_cast<char*>(SALVORA_PROGRAM));
      for (const auto& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      ::execv(SALVORA_PROGRAM, argv.data());
      ::_exit(127);
    }
    return child;
  }

  Outcome Wait(pid_t child) {
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
            ReadFile(home_ / "out"), ReadFile(home_ / "err")};
  }

  Outcome Run(const std::vector<std::string>& args) { return Wait(Start(args)); }

  std::string Tmp() const { return home_ / "tmp"; }
  std::string Path(const std::string& name) const { return home_ / name; }

private:
  TempFolder home_;
  std::string prefix_;
};

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++count;
  return count;
}

// Every file below `folder`, as paths relative to it.
std::vector<std::string> FilesBelow(const std::string& folder) {
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder))
    if (entry.is_regular_file())
      files.push_back(fs::relative(entry.path(), folder).string());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(SalvoraProgram, ScanOfTheDemoStoreInEveryFormat) {
  Program program;
  Outcome json = program.Run({"scan", "--all-folders", "--format", "json"});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  EXPECT_EQ(Count(json.out, "\"folder\": "), 15u);
  EXPECT_EQ(Count(json.out, "\"deleted\": true"), 5u);
  EXPECT_EQ(Count(json.out, "\"ticked\": true"), 5u);
  EXPECT_NE(json.out.find("\"subject\": \"Gr\xC3\xBC\xC3\x9F"
                          "e aus M\xC3\xBCnchen\""),
            std::string::npos);
  EXPECT_EQ(json.err, ""); // no progress when standard error is not a terminal

  Outcome csv = program.Run({"scan", "--all-folders", "--format", "csv"});
  ASSERT_EQ(csv.exit_code, 0);
  EXPECT_EQ(Count(csv.out, "\r\n"), 16u);

  // By default the folders ticked in advance: only Deleted Items.
  Outcome table = program.Run({"scan"});
  ASSERT_EQ(table.exit_code, 0);
  EXPECT_EQ(Count(table.out, "\n"), 4u);
  EXPECT_EQ(Count(table.out, "Deleted Items.dbx"), 3u);
  // The working copies are gone afterwards.
  EXPECT_EQ(FilesBelow(program.Tmp()), std::vector<std::string>{});
}

TEST(SalvoraProgram, SaveWritesTheDeletedMessagesByDefault) {
  Program program;
  const std::string out = program.Path("recovered");
  Outcome saved = program.Run({"save", "--all-folders", "-o", out});
  ASSERT_EQ(saved.exit_code, 0) << saved.err;
  EXPECT_EQ(FilesBelow(out),
            (std::vector<std::string>{"Floor_plans__revision_B.eml", "Lunch_next_week_.eml",
                                      "Re__Quarterly_figures.eml", "Reuni_n_del_martes.eml",
                                      "You_have_been_selected___.eml"}));
  EXPECT_NE(saved.err.find("Selected E-mails successfully recovered."), std::string::npos);
  std::string message = ReadFile(out + "/Lunch_next_week_.eml");
  EXPECT_EQ(message.substr(0, 4), "____"); // the chain link overwrote the first bytes
  EXPECT_NE(message.find("Subject: Lunch next week?\r\n"), std::string::npos);

  Outcome chosen =
      program.Run({"save", "Inbox.dbx", "--live", "--subject", "^Quarterly", "-o", out});
  ASSERT_EQ(chosen.exit_code, 0) << chosen.err;
  EXPECT_TRUE(fs::exists(out + "/Quarterly_figures.eml"));
  EXPECT_EQ(FilesBelow(out).size(), 6u);
}

TEST(SalvoraProgram, FoldersShowTheirNamesInOutlookExpress) {
  Program program;
  Outcome json = program.Run({"folders", "--format", "json"});
  ASSERT_EQ(json.exit_code, 0) << json.err;
  EXPECT_NE(json.out.find("{\"file\": \"Projects.dbx\", \"name\": \"Floor plans\", \"path\": "
                          "\"Local Folders/Work/Floor plans\", \"ticked\": false}"),
            std::string::npos)
      << json.out;
  Outcome csv = program.Run({"folders", "--format", "csv"});
  EXPECT_TRUE(csv.out.starts_with("file,name,path,ticked\r\n"));
  EXPECT_NE(csv.out.find("Deleted Items.dbx,Deleted Items,Local Folders/Deleted Items,true\r\n"),
            std::string::npos);
  Outcome table = program.Run({"folders"});
  EXPECT_NE(table.out.find("* Deleted Items.dbx  Deleted Items  Local Folders/Deleted Items\n"),
            std::string::npos)
      << table.out;
}

TEST(SalvoraProgram, SavesIntoMboxAndMaildirNamedAfterTheFolders) {
  Program program;
  const std::string mbox = program.Path("mbox");
  Outcome saved = program.Run({"save", "--all-folders", "--all", "--format", "mbox", "-o", mbox});
  ASSERT_EQ(saved.exit_code, 0) << saved.err;
  EXPECT_EQ(FilesBelow(mbox),
            (std::vector<std::string>{"Deleted Items.mbox", "Drafts.mbox", "Floor plans.mbox",
                                      "Inbox.mbox", "Sent Items.mbox"}));
  const std::string plans = ReadFile(mbox + "/Floor plans.mbox");
  EXPECT_TRUE(plans.starts_with("From architect@example.com Thu Mar 13 15:40:00 2003\n"));
  EXPECT_EQ(Count(plans, "\n\nFrom architect@example.com "), 1u); // two messages
  EXPECT_EQ(Count(plans, "\r"), 0u);

  const std::string maildir = program.Path("maildir");
  saved = program.Run({"save", "--all-folders", "--format", "maildir", "-o", maildir});
  ASSERT_EQ(saved.exit_code, 0) << saved.err;
  std::vector<std::string> folders;
  for (const std::string& file : FilesBelow(maildir))
    folders.push_back(file.substr(0, file.find("/cur/")));
  EXPECT_EQ(folders, (std::vector<std::string>{"Deleted Items", "Deleted Items", "Floor plans",
                                               "Inbox", "Inbox"}));

  Outcome scan = program.Run({"scan", "--all-folders", "--subject", "^Floor", "--from", "arch"});
  ASSERT_EQ(scan.exit_code, 0) << scan.err;
  EXPECT_EQ(Count(scan.out, "\n"), 3u) << scan.out; // the header and two rows
}

TEST(SalvoraProgram, ShowPrintsAMessageBeforeItIsSaved) {
  std::string inbox;
  for (const auto& entry : fs::recursive_directory_iterator(SALVORA_DEMO_PREFIX))
    if (entry.path().filename() == "Inbox.dbx")
      inbox = entry.path().string();
  ASSERT_FALSE(inbox.empty());
  Program program;
  // A live message with an attachment, and a deleted one.
  Outcome live = program.Run({"show", inbox, "62628"});
  ASSERT_EQ(live.exit_code, 0) << live.err;
  EXPECT_TRUE(live.out.starts_with("From: \"Tom Keller\" <tom.keller@example.com>\nTo: Dana "
                                   "Whitfield <dana.whitfield@example.org>\nCc: \nSubject: Signed "
                                   "contract\nDate: Wed, 5 Mar 2003 11:45:00 +0100\nAttachment: "
                                   "contract.pdf (application/pdf, 6009 bytes)\n\nThanks for "))
      << live.out;
  Outcome deleted = program.Run({"show", inbox, "61360"});
  ASSERT_EQ(deleted.exit_code, 0) << deleted.err;
  EXPECT_NE(deleted.out.find("Subject: Reuni\xC3\xB3n del martes\n"), std::string::npos);
  EXPECT_NE(deleted.out.find("\nla reuni\xC3\xB3n del martes queda a las diez.\n"),
            std::string::npos);

  Outcome nothing = program.Run({"show", inbox, "60117"});
  EXPECT_EQ(nothing.exit_code, 1);
  EXPECT_NE(nothing.err.find("no message starts at offset 60117"), std::string::npos);
  EXPECT_EQ(program.Run({"show", "/nonexistent/a.dbx", "60116"}).exit_code, 1);
  EXPECT_EQ(program.Run({"show", inbox, "x"}).exit_code, 2);
}

// Each failure says what went wrong in one line of the program's own words; a usage error
// adds where the usage is, not the whole of it.
TEST(SalvoraProgram, ExitCodesAndMessages) {
  struct Case {
    std::vector<std::string> args;
    int exit_code;
    const char* err;
  };
  const std::string hint = "Run 'salvora --help' for the usage.\n";
  const Case cases[] = {
      {{"--version"}, 0, ""},
      {{"--help"}, 0, ""},
      {{}, 2, "salvora: no command given\n"},
      {{"scan", "--format", "xml"}, 2, "salvora: unknown format 'xml' (table, csv or json)\n"},
      {{"scan", "NoSuch.dbx"}, 2, "salvora: no folder file 'NoSuch.dbx' in the store\n"},
      {{"scan", "some/folder/none.dbx"},
       1,
       "salvora: file 'some/folder/none.dbx' does not exist\n"},
      {{"scan", "--store", "/nonexistent/store"},
       1,
       "salvora: no folder file to scan; name some or give --all-folders\n"},
      {{"save", "--all-folders", "-o", "/dev/null/recovered"},
       1,
       "salvora: Cannot create folder /dev/null/recovered\n"},
      {{"dump", "/nonexistent/a.dbx"}, 1, "salvora: Cannot open file /nonexistent/a.dbx\n"},
      {{"scan", "disk.img"},
       2,
       "salvora: 'disk.img' is not a folder file (.dbx); use --deep to scan a disk image or "
       "device\n"},
      {{"scan", "--deep", "/nonexistent/disk.img"},
       1,
       "salvora: file '/nonexistent/disk.img' does not exist\n"},
      {{"save", "--deep", "/", "-o", "x"},
       2,
       "salvora: '/' is a folder; name a store folder with --store\n"},
  };
  for (const auto& c : cases) {
    Program program;
    Outcome outcome = program.Run(c.args);
    EXPECT_EQ(outcome.exit_code, c.exit_code) << (c.args.empty() ? "" : c.args[0]) << outcome.err;
    EXPECT_EQ(outcome.err, c.err + (c.exit_code == 2 ? hint : ""));
  }
  Program without_store(TempFolder().path() + "/no-prefix");
  Outcome none = without_store.Run({"folders"});
  EXPECT_EQ(none.exit_code, 1);
  EXPECT_NE(none.err.find("no Outlook Express store found"), std::string::npos);
}

TEST(SalvoraProgram, FilesWithAFolderPartAreReadFromThatFolder) {
  const std::string samples = SALVORA_SHARED_SAMPLES;
  if (!fs::exists(samples + "/iped/test_OutlookDBX.dbx"))
    GTEST_SKIP() << "no shared samples at " << samples;
  Program program;
  Outcome outcome = program.Run({"scan", samples + "/iped/test_OutlookDBX.dbx", "--format", "csv"});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_EQ(Count(outcome.out, "\r\n"), 29u);
}

// A folder file whose header was overwritten: the index and the deleted chain are out of reach,
// the blocks are not.
struct HeaderlessStore {
  TempFolder folder;
  std::vector<std::string> texts = {"From: a@example.org\r\nSubject: first\r\n\r\nOne.\r\n",
                                    "From: b@example.org\r\nSubject: second\r\n\r\n" +
                                        std::string(3000, 'y') + "\r\n",
                                    "From: c@example.org\r\nSubject: gone\r\n\r\nThree.\r\n"};
  std::vector<std::int32_t> offsets;
  HeaderlessStore() {
    dbxtest::StoreBuilder builder;
    for (const auto& text : texts)
      offsets.push_back(builder.DataOffset(builder.AddMessage(text)));
    builder.DeleteMessage(2);
    dbxtest::DbxImage image = builder.Build();
    image.PutBytes(0, std::string(0x24BC, '\0'));
    image.WriteTo(folder / "Inbox.dbx");
  }
  std::string File() const { return folder / "Inbox.dbx"; }
};

TEST(SalvoraProgram, DeepScanFindsWhatTheHeaderNoLongerReaches) {
  HeaderlessStore store;
  Program program;
  Outcome plain = program.Run({"scan", store.File(), "--format", "csv"});
  ASSERT_EQ(plain.exit_code, 0) << plain.err;
  EXPECT_EQ(Count(plain.out, "\r\n"), 1u); // the header line alone
  EXPECT_NE(plain.err.find("salvora: Inbox.dbx looks damaged; --deep may find more"),
            std::string::npos)
      << plain.err;

  Outcome deep = program.Run({"scan", "--deep", store.File(), "--format", "csv"});
  ASSERT_EQ(deep.exit_code, 0) << deep.err;
  EXPECT_EQ(Count(deep.out, ",found\r\n"), 3u);
  EXPECT_EQ(deep.err, "");

  const std::string out = program.Path("recovered");
  Outcome saved = program.Run({"save", "--deep", store.File(), "-o", out});
  ASSERT_EQ(saved.exit_code, 0) << saved.err;
  EXPECT_EQ(FilesBelow(out), (std::vector<std::string>{"first.eml", "gone.eml", "second.eml"}));
  EXPECT_EQ(ReadFile(out + "/second.eml"), store.texts[1]);
  EXPECT_EQ(ReadFile(out + "/gone.eml"), dbxtest::StoreBuilder::DeletedText(store.texts[2]));

  const std::string mbox = program.Path("mbox");
  saved = program.Run({"save", "--deep", "--found", "--format", "mbox", store.File(), "-o", mbox});
  ASSERT_EQ(saved.exit_code, 0) << saved.err;
  EXPECT_EQ(FilesBelow(mbox), std::vector<std::string>{"Inbox.mbox"});
  EXPECT_EQ(Count(ReadFile(mbox + "/Inbox.mbox"), "\n\nFrom "), 2u); // three messages
}

TEST(SalvoraProgram, ShowReadsWhatOnlyTheDeepScanFinds) {
  HeaderlessStore store;
  Program program;
  Outcome second = program.Run({"show", store.File(), std::to_string(store.offsets[1])});
  ASSERT_EQ(second.exit_code, 0) << second.err;
  EXPECT_EQ(second.out, "From: b@example.org\nTo: \nCc: \nSubject: second\nDate: \n\n" +
                            std::string(3000, 'y') + "\n");
  // A deleted message's blocks lost their first bytes, and its From label with them.
  Outcome gone = program.Run({"show", store.File(), std::to_string(store.offsets[2])});
  ASSERT_EQ(gone.exit_code, 0) << gone.err;
  EXPECT_EQ(gone.out, "From: \nTo: \nCc: \nSubject: gone\nDate: \n\nThree.\n");
  EXPECT_EQ(program.Run({"show", store.File(), std::to_string(store.offsets[1] + 1)}).exit_code, 1);
}

TEST(SalvoraProgram, DumpDeepAddsOneLinePerFoundMessage) {
  HeaderlessStore store;
  Program program;
  Outcome dump = program.Run({"dump", "--deep", store.File()});
  ASSERT_EQ(dump.exit_code, 0) << dump.err;
  // Nothing listed by the header: three found lines, each with the text the deep scan reads.
  const std::string texts[] = {store.texts[0], store.texts[1],
                               dbxtest::StoreBuilder::DeletedText(store.texts[2])};
  std::string expected = "== " + store.File() + "\n";
  for (int i = 0; i < 3; ++i)
    expected += "found 0 " + std::to_string(store.offsets[i]) + " 0 " +
                std::to_string(texts[i].size()) + " " + platform::Sha256Hex(texts[i]) + "\n";
  EXPECT_EQ(dump.out, expected);
  Outcome plain = program.Run({"dump", store.File()});
  EXPECT_EQ(plain.out, "== " + store.File() + "\n");
}

// Two folder files among random bytes, as a disk image holds them.
struct ImageFile {
  TempFolder folder;
  dbxtest::DiskImage image = dbxtest::TwoStoresInNoise();
  ImageFile() { std::ofstream(Path(), std::ios::binary) << image.bytes(); }
  std::string Path() const { return folder / "disk.img"; }
  // The folder the scan lists a store's rows in.
  static std::string Folder(const dbxtest::PlacedStore& store) {
    char start[32];
    std::snprintf(start, sizeof start, "0x%llx", static_cast<unsigned long long>(store.start));
    return std::string("disk.img @ ") + start;
  }
};

// The folder, subject, data offset and kind of each CSV row.
std::vector<std::string> CsvRows(const std::string& csv) {
  std::vector<std::string> rows;
  std::istringstream lines(csv);
  std::string line;
  std::getline(lines, line); // the header
  while (std::getline(lines, line)) {
    std::vector<std::string> fields;
    std::istringstream cells(line.substr(0, line.find('\r')));
    for (std::string field; std::getline(cells, field, ',');)
      fields.push_back(field);
    rows.push_back(fields.at(0) + "|" + fields.at(5) + "|" + fields.at(8) + "|" + fields.at(9));
  }
  return rows;
}

TEST(SalvoraProgram, ADiskImageIsReadWhereItLies) {
  ImageFile file;
  const auto written = fs::last_write_time(file.Path());
  HeaderlessStore store;
  Program program;
  Outcome scan = program.Run({"scan", "--deep", "--format", "csv", file.Path(), store.File()});
  ASSERT_EQ(scan.exit_code, 0) << scan.err;
  EXPECT_EQ(scan.err, "");
  std::vector<std::string> expected;
  for (const dbxtest::PlacedStore& placed : file.image.stores())
    for (const dbxtest::ImageMessage& message : placed.messages)
      expected.push_back(ImageFile::Folder(placed) + "|" + message.subject + "|" +
                         std::to_string(message.position) + "|found");
  std::vector<std::string> rows = CsvRows(scan.out);
  // The folder file named beside it comes first, as the store lists it, all in one folder.
  ASSERT_EQ(rows.size(), 9u) << scan.out;
  for (std::size_t i = 0; i < 3; ++i)
    EXPECT_TRUE(rows[i].starts_with("Inbox.dbx|")) << rows[i];
  EXPECT_EQ(std::vector<std::string>(rows.begin() + 3, rows.end()), expected);

  const std::string eml = program.Path("eml");
  Outcome saved = program.Run({"save", "--deep", "--all", "-o", eml, file.Path()});
  ASSERT_EQ(saved.exit_code, 0) << saved.err;
  std::vector<std::string> names;
  for (const dbxtest::PlacedStore& placed : file.image.stores())
    for (const dbxtest::ImageMessage& message : placed.messages) {
      names.push_back(message.subject + ".eml");
      EXPECT_EQ(ReadFile(eml + "/" + names.back()), message.text) << message.subject;
    }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(FilesBelow(eml), names);

  const std::string mbox = program.Path("mbox");
  saved = program.Run({"save", "--deep", "--format", "mbox", "-o", mbox, file.Path()});
  ASSERT_EQ(saved.exit_code, 0) << saved.err;
  EXPECT_EQ(FilesBelow(mbox),
            (std::vector<std::string>{ImageFile::Folder(file.image.stores()[0]) + ".mbox",
                                      ImageFile::Folder(file.image.stores()[1]) + ".mbox"}));

  // The deep scan's own listing: found lines only, each where its first block stands.
  Outcome dump = program.Run({"dump", "--deep", file.Path()});
  ASSERT_EQ(dump.exit_code, 0) << dump.err;
  std::string listing = "== " + file.Path() + "\n";
  for (const dbxtest::PlacedStore& placed : file.image.stores())
    for (const dbxtest::ImageMessage& message : placed.messages)
      listing += "found 0 " + std::to_string(message.position) + " 0 " +
                 std::to_string(message.text.size()) + " " + platform::Sha256Hex(message.text) +
                 "\n";
  EXPECT_EQ(dump.out, listing);

  const dbxtest::ImageMessage& beta = file.image.stores()[1].messages[1];
  Outcome show = program.Run({"show", file.Path(), std::to_string(beta.position)});
  ASSERT_EQ(show.exit_code, 0) << show.err;
  EXPECT_TRUE(show.out.starts_with("From: beta@example.org\nTo: b@example.org\nCc: \nSubject: "
                                   "beta1\n"))
      << show.out;

  // Read only: the image is as it was, and no copy of it was made.
  EXPECT_EQ(ReadFile(file.Path()), file.image.bytes());
  EXPECT_EQ(fs::last_write_time(file.Path()), written);
  EXPECT_EQ(FilesBelow(program.Tmp()), std::vector<std::string>{});
}

TEST(SalvoraProgram, CtrlCWindsTheScanDownAndRemovesTheCopies) {
  TempFolder store;
  {
    dbxtest::StoreBuilder builder;
    for (int i = 0; i < 20000; ++i)
      builder.AddMessage("From: a@example.org\r\nSubject: message " + std::to_string(i) +
                         "\r\n\r\n" + std::string(1500, 'x') + "\r\n");
    builder.Build().WriteTo(store / "Inbox.dbx");
  }
  Program program;
  pid_t child = program.Start({"scan", store / "Inbox.dbx"});
  // Wait for the working copy, then press Ctrl-C while the scan runs.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (FilesBelow(program.Tmp()).empty() && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ::kill(child, SIGINT);
  Outcome outcome = program.Wait(child);
  EXPECT_EQ(outcome.exit_code, 130) << outcome.err;
  EXPECT_LT(Count(outcome.out, "\n"), 20001u); // the table holds what was found before
  EXPECT_EQ(FilesBelow(program.Tmp()), std::vector<std::string>{});
}

} // namespace
