// The scan run on generated working copies: rows, ticks, gauge, Stop and errors.
#include "mime/mail_message.h"
#include "mime/mime_error.h"
#include "store/uoexpress.h"
#include "workflow_fixture.h"

#include <gtest/gtest.h>
#include <random>

namespace testenv {
namespace {

using app::FolderFile;
using dbxtest::StoreBuilder;

dbxtest::DbxImage Store(const std::vector<std::string>& texts,
                        const std::vector<int>& deleted = {}) {
  StoreBuilder builder;
  for (const auto& text : texts)
    builder.AddMessage(text);
  for (int message : deleted)
    builder.DeleteMessage(message);
  return builder.Build();
}

TEST(ScanRun, RowsFolderByFolderLiveBeforeDeletedWithDeletedOnesTicked) {
  WorkflowFixture fixture;
  fixture.WriteFolderFile(
      "Inbox.dbx", Store({Message("one"), Message("two", "x@example.com"), Message("three")}, {0}));
  fixture.WriteFolderFile("Deleted Items.dbx", Store({Message("four"), Message("five")}, {1}));
  fixture.WriteFolderFile("Skipped.dbx", Store({Message("never")}));
  RecordingObserver observer;
  app::RecoveredList list = fixture.Scan(
      {{"Inbox.dbx", true}, {"Skipped.dbx", false}, {"Deleted Items.dbx", true}}, observer);

  struct Expected {
    const char* folder;
    const char* subject;
    bool deleted;
    int image;
  };
  const Expected expected[] = {{"Inbox.dbx", "two", false, 5},
                               {"Inbox.dbx", "three", false, 5},
                               {"Inbox.dbx", "one", true, 5},
                               {"Deleted Items.dbx", "four", false, 8},
                               {"Deleted Items.dbx", "five", true, 8}};
  ASSERT_EQ(list.Count(), std::size(expected));
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const app::RecoveredRow& row = list[i];
    EXPECT_EQ(row.message.FolderFileName, expected[i].folder) << i;
    EXPECT_EQ(row.subject, expected[i].subject) << i;
    EXPECT_EQ(row.message.Deleted, expected[i].deleted) << i;
    EXPECT_EQ(row.ticked, expected[i].deleted) << i;
    EXPECT_EQ(row.folder_image, expected[i].image) << i;
    EXPECT_EQ(row.to, "b@example.org,c@example.org") << i;
    EXPECT_EQ(row.date_text, "2003-03-03 10:20:30") << i;
    EXPECT_EQ(row.message.Attr11 != 0, !expected[i].deleted) << i; // 0x91 of live records only
  }
  EXPECT_EQ(list[0].from, "x@example.com");
  EXPECT_EQ(observer.row_counts, (std::vector<std::size_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(observer.events, (std::vector<std::string>{"started", "max 20", "folder Inbox.dbx",
                                                       "folder Deleted Items.dbx", "ended"}));
  EXPECT_TRUE(observer.stop_was_set_at_end);
}

TEST(ScanRun, GaugeGivesEachFolderTenUnitsHalfLiveHalfDeleted) {
  struct Case {
    const char* name;
    std::vector<std::pair<int, int>> folders; // live and deleted messages per folder
    std::vector<int> gauge;
  };
  const Case cases[] = {
      {"two folders, the second empty", {{2, 1}, {0, 0}}, {2, 5, 10, 10, 20}},
      {"live only", {{3, 0}}, {1, 3, 5, 10}},
      {"deleted only", {{0, 2}}, {7, 10, 10}},
  };
  for (const auto& c : cases) {
    WorkflowFixture fixture;
    std::vector<FolderFile> folders;
    for (std::size_t f = 0; f < c.folders.size(); ++f) {
      auto [live, deleted] = c.folders[f];
      std::vector<std::string> texts;
      std::vector<int> gone;
      // Texts appended rather than "m" + …, which GCC 12 at -O3 takes for an overlapping copy.
      for (int i = 0; i < live + deleted; ++i) {
        texts.push_back(Message(std::string("m").append(std::to_string(i))));
        if (i >= live)
          gone.push_back(i);
      }
      std::string name = std::string("Folder").append(std::to_string(f)).append(".dbx");
      fixture.WriteFolderFile(name, Store(texts, gone));
      folders.push_back({name, true});
    }
    RecordingObserver observer;
    fixture.Scan(folders, observer);
    EXPECT_EQ(observer.gauge, c.gauge) << c.name;
  }
}

TEST(ScanRun, MessagesWithoutTextGetNoRowButAdvanceTheGauge) {
  StoreBuilder builder;
  builder.AddMessage(Message("unreadable"));
  builder.AddMessage(Message("fine"));
  dbxtest::DbxImage image = builder.Build();
  image.PutInt32(builder.DataOffset(0), 0); // its first block fails the self-offset test
  WorkflowFixture fixture;
  fixture.WriteFolderFile("Inbox.dbx", image);
  RecordingObserver observer;
  app::RecoveredList list = fixture.Scan({{"Inbox.dbx", true}}, observer);
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list[0].subject, "fine");
  EXPECT_EQ(observer.gauge, (std::vector<int>{2, 5, 10}));
}

// The Stop button pressed as the first row appears.
class StopAtFirstRow : public RecordingObserver {
public:
  void RowAdded(std::size_t count) override {
    RecordingObserver::RowAdded(count);
    platform::SetStopRequested(true);
  }
};

TEST(ScanRun, StopEndsTheRunKeepingTheRowsFound) {
  WorkflowFixture fixture;
  fixture.WriteFolderFile("A.dbx", Store({Message("1"), Message("2"), Message("3")}, {2}));
  fixture.WriteFolderFile("B.dbx", Store({Message("4")}));
  StopAtFirstRow observer;
  app::RecoveredList list = fixture.Scan({{"A.dbx", true}, {"B.dbx", true}}, observer);
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list[0].subject, "1");
  EXPECT_EQ(observer.gauge, (std::vector<int>{2})); // it stays where it was
  EXPECT_EQ(observer.events,
            (std::vector<std::string>{"started", "max 20", "folder A.dbx", "ended"}));
}

TEST(ScanRun, AReaderErrorEndsTheRunWithItsRowsKept) {
  WorkflowFixture fixture;
  fixture.WriteFolderFile("A.dbx", Store({Message("kept")}));
  RecordingObserver observer;
  app::Recovery recovery(
      fixture.TempDir(), [&] { return fixture.Folder().path(); }, fixture.notifier);
  recovery.Folders() = {{"A.dbx", true}, {"Gone.dbx", true}};
  EXPECT_THROW(recovery.Scan(observer), uoexpress::EFOpenError);
  ASSERT_EQ(recovery.List().Count(), 1u);
  EXPECT_EQ(observer.events.back(), "ended");
  EXPECT_TRUE(observer.stop_was_set_at_end);
}

TEST(ScanRun, AMessageTheParserRejectsStillGetsItsRow) {
  const std::string broken =
      Message("broken attachment", "a@example.org",
              "begin 644 notes.txt\r\nthis line is not uuencoded\r\nend\r\n");
  mime::TMailMessage2000 probe;
  ASSERT_THROW(
      {
        probe.ParseText(broken);
        probe.RebuildBody();
      },
      mime::MimeError)
      << "the text no longer upsets the parser; pick another";

  WorkflowFixture fixture;
  fixture.WriteFolderFile("A.dbx", Store({broken, Message("after")}));
  RecordingObserver observer;
  app::RecoveredList list = fixture.Scan({{"A.dbx", true}}, observer);
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list[0].subject, "broken attachment");
  EXPECT_EQ(list[0].from, "a@example.org");
  EXPECT_EQ(list[1].subject, "after");
}

TEST(ScanRun, AttachmentMarkerLooksAtThePreviewOnly) {
  const std::string attachment_headers =
      "Content-Type: application/pdf; name=\"a.pdf\"\r\nContent-Transfer-Encoding: base64\r\n"
      "Content-Disposition: attachment; filename=\"a.pdf\"\r\n\r\nJVBERi0=\r\n";
  WorkflowFixture fixture;
  fixture.WriteFolderFile(
      "A.dbx",
      Store({Message("near", "a@example.org", attachment_headers),
             Message("far", "a@example.org", std::string(12000, 'x') + "\r\n" + attachment_headers),
             Message("words", "a@example.org", "ATTACHMENT, FileName and Base64.\r\n"),
             Message("plain")}));
  RecordingObserver observer;
  app::RecoveredList list = fixture.Scan({{"A.dbx", true}}, observer);
  ASSERT_EQ(list.Count(), 4u);
  EXPECT_TRUE(list[0].message.HasAttachment);
  EXPECT_FALSE(list[1].message.HasAttachment);
  EXPECT_TRUE(list[2].message.HasAttachment);
  EXPECT_FALSE(list[3].message.HasAttachment);
}

TEST(HasAttachmentWords, NeedsAllThreeWordsInAnyCase) {
  struct Case {
    const char* text;
    bool marked;
  };
  const Case cases[] = {
      {"attachment filename base64", true},   {"BASE64 ... FILENAME ... Attachment", true},
      {"attachment filename", false},         {"filename base64", false},
      {"attach-ment filename base64", false}, {"", false}};
  for (const auto& c : cases)
    EXPECT_EQ(app::HasAttachmentWords(c.text), c.marked) << c.text;
}

// The search folds letters as it goes and skips ahead; it must agree with lowering the whole
// text and looking for each word, whatever the text.
TEST(HasAttachmentWords, AgreesWithSearchingALoweredCopy) {
  const std::vector<std::string> pieces = {"attachment", "filename", "base64", "ATTACH",
                                           "ment",       "FileNam",  "e",      "bAsE6",
                                           "4",          " ",        "\r\n",   "x"};
  std::mt19937 random(64);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    for (int n = static_cast<int>(random() % 12); n > 0; --n) {
      std::string piece = pieces[random() % pieces.size()];
      for (char& c : piece)
        if (random() % 3 == 0 && c >= 'a' && c <= 'z')
          c = static_cast<char>(c - 32);
      text += piece;
    }
    std::string lower = text;
    for (char& c : lower)
      if (c >= 'A' && c <= 'Z')
        c = static_cast<char>(c + 32);
    const bool expected = lower.find("attachment") != std::string::npos &&
                          lower.find("filename") != std::string::npos &&
                          lower.find("base64") != std::string::npos;
    ASSERT_EQ(app::HasAttachmentWords(text), expected) << text;
  }
}

TEST(ScanRun, RealSamplesListEveryMessage) {
  const std::string samples = SALVORA_SHARED_SAMPLES;
  WorkflowFixture fixture;
  std::error_code error;
  std::filesystem::copy_file(samples + "/iped/test_OutlookDBX.dbx", fixture.Folder() / "Inbox.dbx",
                             error);
  if (error)
    GTEST_SKIP() << "no shared samples at " << samples;
  RecordingObserver observer;
  app::RecoveredList list = fixture.Scan({{"Inbox.dbx", true}}, observer);
  ASSERT_EQ(list.Count(), 28u);
  for (const auto& row : list.Rows()) {
    EXPECT_FALSE(row.from.empty());
    EXPECT_NE(row.date_value, 0);
  }
}

} // namespace
} // namespace testenv
