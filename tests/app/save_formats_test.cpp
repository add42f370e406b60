// Saving into mbox files and Maildirs, read back by readers of the formats written here from
// their descriptions, and the dates saved files carry.
#include "app/message_file.h"
#include "app/message_time.h"
#include "app/message_writer.h"
#include "app/recovered_text.h"
#include "platform/file_time.h"
#include "platform/maildir_name.h"
#include "save_fixture.h"

#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

namespace testenv {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kMessageDate = 1046686830; // Mon, 3 Mar 2003 10:20:30 +0000

// What an mbox must give back for a message: the .eml bytes with LF line ends.
std::string WithLfLines(std::string_view text) {
  std::string lines = app::WithCrLfLines(text);
  std::string lf;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == '\r' && i + 1 < lines.size() && lines[i + 1] == '\n')
      continue;
    lf += lines[i];
  }
  return lf;
}

struct MboxMessage {
  std::string from_line;
  std::string text;
};

// An mboxrd reader: a line beginning "From " starts a message; in its other lines one ">" is
// taken from ">From ", ">>From ", ...; the blank line before the next message (or the end)
// separates and is not part of the message.
std::vector<MboxMessage> ReadMboxrd(const std::string& mbox) {
  std::vector<MboxMessage> messages;
  std::size_t start = 0;
  while (start < mbox.size()) {
    std::size_t end = mbox.find('\n', start);
    if (end == std::string::npos)
      end = mbox.size();
    std::string line = mbox.substr(start, end - start);
    start = end + 1;
    if (line.starts_with("From ")) {
      messages.push_back({line, ""});
      continue;
    }
    if (messages.empty())
      throw std::runtime_error("text before the first From line");
    const std::size_t quotes = line.find_first_not_of('>');
    if (quotes != std::string::npos && quotes > 0 && line.compare(quotes, 5, "From ") == 0)
      line.erase(0, 1);
    messages.back().text += line + '\n';
  }
  for (MboxMessage& message : messages) {
    if (!message.text.ends_with('\n'))
      throw std::runtime_error("no blank line after a message");
    message.text.pop_back();
  }
  return messages;
}

// The kernel stamps files from a clock that may lag the system clock by a tick, so a file
// written just after a second began can carry the second before.
constexpr std::int64_t kCoarseClockLag = 1;

TEST(MboxEntry, QuotingRoundTripsEveryFromLine) {
  const std::vector<std::string> texts = {
      "From: a@example.org\r\nSubject: x\r\n\r\nFrom here on\r\n>From there\r\n>>From "
      "afar\r\n",
      "From \r\nFrom\r\nFromage\r\n From indented\r\n>\r\n>From\r\n",
      "no final line break\nlone LF\rlone CR",
      "",
      "\r\n\r\n",
      "From ",
  };
  std::string mbox;
  for (const std::string& text : texts)
    mbox += app::MboxEntry("a@example.org", kMessageDate, text);
  const std::vector<MboxMessage> read = ReadMboxrd(mbox);
  ASSERT_EQ(read.size(), texts.size());
  for (std::size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(read[i].text, WithLfLines(texts[i])) << i;
    EXPECT_EQ(read[i].from_line, "From a@example.org Mon Mar  3 10:20:30 2003");
  }
  EXPECT_NE(mbox.find("\n>From here on\n>>From there\n>>>From afar\n"), std::string::npos);
  EXPECT_NE(mbox.find("\n>From \nFrom\nFromage\n From indented\n>\n>From\n"), std::string::npos);
}

TEST(MboxEntry, RandomTextsRoundTrip) {
  static constexpr std::string_view kPieces[] = {"From ", ">",  "From", "x",     " ",
                                                 "\r\n",  "\n", "\r",   ">From "};
  std::mt19937 random(17);
  for (int round = 0; round < 2000; ++round) {
    std::vector<std::string> texts(1 + random() % 4);
    std::string mbox;
    for (std::string& text : texts) {
      for (int n = static_cast<int>(random() % 30); n > 0; --n)
        text += kPieces[random() % std::size(kPieces)];
      mbox += app::MboxEntry("", kMessageDate, text);
    }
    const std::vector<MboxMessage> read = ReadMboxrd(mbox);
    ASSERT_EQ(read.size(), texts.size()) << round;
    for (std::size_t i = 0; i < texts.size(); ++i)
      ASSERT_EQ(read[i].text, WithLfLines(texts[i])) << round << " " << i;
  }
}

TEST(MboxEntry, FromLineNamesTheSenderAsOneWord) {
  struct Case {
    const char* sender;
    std::int64_t when;
    const char* line;
  };
  for (const Case& c : {Case{"", 0, "From MAILER-DAEMON Thu Jan  1 00:00:00 1970\n"},
                        Case{"a\tb@c", -1, "From a_b@c Wed Dec 31 23:59:59 1969\n"},
                        Case{"x@y", -2500000000, "From x@y Sat Oct 11 19:33:20 1890\n"},
                        Case{"x@y", 253402300799, "From x@y Fri Dec 31 23:59:59 9999\n"}})
    EXPECT_EQ(app::MboxEntry(c.sender, c.when, "").substr(0, std::string(c.line).size()), c.line);
}

std::string NoDate(const std::string& subject) {
  return "From: nodate@example.org\r\nSubject: " + subject + "\r\n\r\nNo date.\r\n";
}

// Two folder files with display names; rows sorted by subject so their folders interleave.
class FormatsFixture : public WorkflowFixture {
public:
  FormatsFixture() {
    dbxtest::StoreBuilder inbox, sent;
    inbox.AddMessage(Message("b first in inbox", "x@example.org", "From the inbox\r\n"));
    inbox.AddMessage(NoDate("d undated"));
    sent.AddMessage(Message("a first sent"));
    sent.AddMessage(Message("c second sent", "y@example.org", "no final break"));
    WriteFolderFile("Inbox.dbx", inbox.Build());
    WriteFolderFile("Sent Items.dbx", sent.Build());
    RecordingObserver observer;
    list = Scan({{"Inbox.dbx", true}, {"Sent Items.dbx", true}}, observer);
    list.ColumnClick(app::kSubjectColumn);
    list.SelectAll();
    fs::create_directory(Destination());
  }

  std::string Destination() const { return out.path() + "/mail"; }

  bool Save(app::SaveFormat format) {
    return app::SaveEmails(list, TempDir(), Destination(), notifier, count,
                           {format, {{"Inbox.dbx", "Inbox"}, {"Sent Items.dbx", "Sent/Items"}}});
  }

  // The text the working copy holds for a row.
  std::string TextOf(const std::string& subject) const {
    platform::SetStopRequested(false); // a run ends with it set, and readers then read nothing
    for (const app::RecoveredRow& row : list.Rows())
      if (row.subject == subject) {
        std::string text;
        app::ReadRecoveredText(row.message, TempDir(), text, true);
        return text;
      }
    return "(no row " + subject + ")";
  }

  app::RecoveredList list;
  app::SaveCount count; // of the last Save
  TempFolder out;
};

TEST(SaveFormats, MboxPerFolderFileNamedAfterItsDisplayNameNeverReplacingOne) {
  FormatsFixture fixture;
  WriteFile(fixture.Destination() + "/Inbox.mbox", "someone else's mail");
  ASSERT_TRUE(fixture.Save(app::SaveFormat::Mbox));
  EXPECT_EQ(FileNames(fixture.Destination()),
            (std::vector<std::string>{"Inbox.mbox", "Inbox_1.mbox", "Sent_Items.mbox"}));
  EXPECT_EQ(ReadFile(fixture.Destination() + "/Inbox.mbox"), "someone else's mail");

  const auto inbox = ReadMboxrd(ReadFile(fixture.Destination() + "/Inbox_1.mbox"));
  ASSERT_EQ(inbox.size(), 2u);
  EXPECT_EQ(inbox[0].from_line, "From x@example.org Mon Mar  3 10:20:30 2003");
  EXPECT_EQ(inbox[0].text, WithLfLines(fixture.TextOf("b first in inbox")));
  EXPECT_EQ(inbox[1].text, WithLfLines(fixture.TextOf("d undated")));
  const auto sent = ReadMboxrd(ReadFile(fixture.Destination() + "/Sent_Items.mbox"));
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].text, WithLfLines(fixture.TextOf("a first sent")));
  EXPECT_EQ(sent[1].text, WithLfLines(fixture.TextOf("c second sent")));
  EXPECT_EQ(fixture.count.saved, 4u); // messages, not files
  EXPECT_EQ(fixture.notifier.information, std::vector<std::string>{app::kSavedMessage});
}

TEST(SaveFormats, MaildirDeliversEveryMessageIntoCurDatedLikeIt) {
  FormatsFixture fixture;
  fs::create_directory(fixture.Destination() + "/Inbox");
  const std::int64_t before = app::UnixTimeNow();
  ASSERT_TRUE(fixture.Save(app::SaveFormat::Maildir));
  const std::int64_t after = app::UnixTimeNow();
  EXPECT_EQ(FileNames(fixture.Destination()),
            (std::vector<std::string>{"Inbox", "Inbox_1", "Sent_Items"}));
  EXPECT_TRUE(FileNames(fixture.Destination() + "/Inbox").empty());

  std::map<std::string, std::int64_t> dates; // by text
  std::set<std::string> names;
  for (const char* maildir : {"/Inbox_1", "/Sent_Items"}) {
    const std::string root = fixture.Destination() + maildir;
    EXPECT_EQ(FileNames(root), (std::vector<std::string>{"cur", "new", "tmp"}));
    EXPECT_TRUE(FileNames(root + "/new").empty());
    EXPECT_TRUE(FileNames(root + "/tmp").empty());
    for (const std::string& name : FileNames(root + "/cur")) {
      const std::string info = platform::kMaildirInfo; // ":2," ("!2," on Windows)
      ASSERT_TRUE(name.ends_with(info)) << name;
      EXPECT_TRUE(names.insert(name.substr(0, name.size() - info.size())).second)
          << "unique: " << name;
      std::int64_t mtime = 0;
      ASSERT_TRUE(platform::GetFileModificationTime(root + "/cur/" + name, mtime));
      dates[ReadFile(root + "/cur/" + name)] = mtime;
    }
  }
  ASSERT_EQ(dates.size(), 4u);
  for (const char* subject : {"a first sent", "b first in inbox", "c second sent"}) {
    const std::string bytes = app::WithCrLfLines(fixture.TextOf(subject));
    ASSERT_TRUE(dates.contains(bytes)) << subject;
    EXPECT_EQ(dates[bytes], kMessageDate) << subject;
  }
  const std::int64_t undated = dates[app::WithCrLfLines(fixture.TextOf("d undated"))];
  EXPECT_GE(undated, before - kCoarseClockLag);
  EXPECT_LE(undated, after);
}

TEST(SaveFormats, EmlFilesCarryTheMessageDateOrTheTimeOfSaving) {
  FormatsFixture fixture;
  const std::int64_t before = app::UnixTimeNow();
  ASSERT_TRUE(fixture.Save(app::SaveFormat::Eml));
  const std::int64_t after = app::UnixTimeNow();
  std::int64_t mtime = 0;
  ASSERT_TRUE(
      platform::GetFileModificationTime(fixture.Destination() + "/a_first_sent.eml", mtime));
  EXPECT_EQ(mtime, kMessageDate);
  ASSERT_TRUE(platform::GetFileModificationTime(fixture.Destination() + "/d_undated.eml", mtime));
  EXPECT_GE(mtime, before - kCoarseClockLag);
  EXPECT_LE(mtime, after);
}

TEST(SaveFormats, AFolderFileWithoutDisplayNameIsNamedAfterItsFile) {
  SaveFixture fixture({Message("one"), Message("two")});
  fixture.list.SelectAll();
  ASSERT_TRUE(app::SaveEmails(fixture.list, fixture.TempDir(), fixture.Destination(),
                              fixture.notifier, fixture.count, {app::SaveFormat::Mbox, {}}));
  EXPECT_EQ(FileNames(fixture.Destination()), std::vector<std::string>{"Inbox.mbox"});
  EXPECT_EQ(ReadMboxrd(ReadFile(fixture.Destination() + "/Inbox.mbox")).size(), 2u);
}

TEST(SaveFormats, MessagesOnlyTheDeepScanFoundGoInWhole) {
  // The first record is lost, so only the deep scan finds that message; its text is longer
  // than the scan's preview.
  const std::string lost =
      Message("lost record", "a@example.org", std::string(20000, 'z') + "\r\n");
  dbxtest::StoreBuilder builder;
  builder.AddMessage(lost);
  builder.AddMessage(Message("listed"));
  dbxtest::DbxImage image = builder.Build();
  image.PutInt32(builder.InfoOffset(0), 0);
  for (const app::SaveFormat format : {app::SaveFormat::Mbox, app::SaveFormat::Maildir}) {
    SaveFixture fixture({});
    fixture.WriteFolderFile("Inbox.dbx", image);
    RecordingObserver observer;
    fixture.list = fixture.Scan({{"Inbox.dbx", true}}, observer, true);
    ASSERT_EQ(fixture.list.Count(), 2u);
    ASSERT_TRUE(fixture.list[1].message.Found);
    // Only the found row is ticked after the scan.
    ASSERT_TRUE(app::SaveEmails(fixture.list, fixture.TempDir(), fixture.Destination(),
                                fixture.notifier, fixture.count, {format, {}}));
    EXPECT_EQ(fixture.count.saved, 1u);
    if (format == app::SaveFormat::Mbox) {
      const auto mbox = ReadMboxrd(ReadFile(fixture.Destination() + "/Inbox.mbox"));
      ASSERT_EQ(mbox.size(), 1u);
      EXPECT_EQ(mbox[0].text, WithLfLines(lost));
    } else {
      const std::vector<std::string> cur = FileNames(fixture.Destination() + "/Inbox/cur");
      ASSERT_EQ(cur.size(), 1u);
      EXPECT_EQ(ReadFile(fixture.Destination() + "/Inbox/cur/" + cur[0]), lost);
    }
  }
}

} // namespace
} // namespace testenv
