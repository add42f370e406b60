// The scan with the deep scan on damaged working copies: rows for what only the blocks reveal,
// their place and ticks, the gauge, Stop, saving them, and the notice that a file looks damaged.
#include "save_fixture.h"
#include "store/uoexpress.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace testenv {
namespace {

using dbxtest::StoreBuilder;

struct Damaged {
  dbxtest::DbxImage image;
  std::vector<std::string> texts;
};

// Four messages, the third deleted, then the damage: the record of the first is zeroed, so
// the index no longer lists it.
Damaged InboxWithALostRecord() {
  StoreBuilder builder;
  Damaged store;
  store.texts = {Message("lost record"), Message("listed"), Message("deleted"),
                 Message("attached", "a@example.org",
                         "Content-Disposition: attachment; filename=\"a.bin\"\r\n"
                         "Content-Transfer-Encoding: base64\r\n\r\nQUJD\r\n")};
  for (const auto& text : store.texts)
    builder.AddMessage(text);
  builder.DeleteMessage(2);
  store.image = builder.Build();
  store.image.PutInt32(builder.InfoOffset(0), 0);
  return store;
}

TEST(DeepScanRun, FoundRowsFollowEachFilesLiveAndDeletedRowsTicked) {
  WorkflowFixture fixture;
  fixture.WriteFolderFile("Inbox.dbx", InboxWithALostRecord().image);
  // A second file whose deleted chain lost its head: its deleted message is found.
  StoreBuilder builder;
  builder.AddMessage(Message("kept"));
  builder.AddMessage(Message("chain lost"));
  builder.DeleteMessage(1);
  dbxtest::DbxImage second = builder.Build();
  second.PutInt32(72, 0);
  fixture.WriteFolderFile("Other.dbx", second);

  RecordingObserver observer;
  app::RecoveredList list =
      fixture.Scan({{"Inbox.dbx", true}, {"Other.dbx", true}}, observer, true);
  struct Expected {
    const char* folder;
    const char* subject;
    const char* kind;
    bool attachment;
  };
  const Expected expected[] = {
      {"Inbox.dbx", "listed", "live", false},     {"Inbox.dbx", "attached", "live", true},
      {"Inbox.dbx", "deleted", "deleted", false}, {"Inbox.dbx", "lost record", "found", false},
      {"Other.dbx", "kept", "live", false},       {"Other.dbx", "chain lost", "found", false}};
  ASSERT_EQ(list.Count(), std::size(expected));
  for (std::size_t i = 0; i < list.Count(); ++i) {
    const app::RecoveredRow& row = list[i];
    EXPECT_EQ(row.message.FolderFileName, expected[i].folder) << i;
    EXPECT_EQ(row.subject, expected[i].subject) << i;
    EXPECT_STREQ(app::KindName(row.message), expected[i].kind) << i;
    EXPECT_EQ(row.ticked, std::string(expected[i].kind) != "live") << i;
    EXPECT_EQ(row.message.HasAttachment, expected[i].attachment) << i;
    EXPECT_EQ(row.from, "a@example.org") << i;
    EXPECT_EQ(row.date_text, "2003-03-03 10:20:30") << i;
  }
  EXPECT_TRUE(list[5].message.Chain.FreedBlocks);
  EXPECT_EQ(observer.events, (std::vector<std::string>{"started", "max 40", "folder Inbox.dbx",
                                                       "folder Other.dbx", "ended"}));
  // Each file: live 0-5, deleted 5-10, the pass 10-15, the found messages 15-20.
  EXPECT_EQ(observer.gauge, (std::vector<int>{2, 5, 10, 15, 20, 20, 25, 35, 40, 40}));
}

TEST(DeepScanRun, StopEndsTheDeepScanWithTheRowsFoundSoFar) {
  // Stop as the pass over the file reports, and as the first found row appears.
  struct StopAt : RecordingObserver {
    int gauge_stop = 0;
    std::size_t row_stop = 0;
    void GaugeProgress(int value) override {
      RecordingObserver::GaugeProgress(value);
      if (value == gauge_stop)
        platform::SetStopRequested(true);
    }
    void RowAdded(std::size_t count) override {
      RecordingObserver::RowAdded(count);
      if (count == row_stop)
        platform::SetStopRequested(true);
    }
  };
  StoreBuilder builder;
  for (int i = 0; i < 4; ++i)
    builder.AddMessage(Message("m" + std::to_string(i)));
  dbxtest::DbxImage image = builder.Build();
  image.PutInt32(196, 0); // the index lists nothing: every message is found
  for (auto [gauge_stop, row_stop, rows] : {std::tuple{15, 0u, 0u}, std::tuple{0, 2u, 2u}}) {
    WorkflowFixture fixture;
    fixture.WriteFolderFile("Inbox.dbx", image);
    StopAt observer;
    observer.gauge_stop = gauge_stop;
    observer.row_stop = row_stop;
    app::RecoveredList list = fixture.Scan({{"Inbox.dbx", true}}, observer, true);
    EXPECT_EQ(list.Count(), rows);
    EXPECT_TRUE(observer.events.back().starts_with("ended"));
    EXPECT_TRUE(observer.stop_was_set_at_end);
  }
}

TEST(DeepScanRun, FoundRowsSaveTheirWholeText) {
  Damaged store = InboxWithALostRecord();
  store.texts[0] = Message("lost record", "a@example.org", std::string(20000, 'z') + "\r\n");
  StoreBuilder builder;
  for (const auto& text : store.texts)
    builder.AddMessage(text);
  dbxtest::DbxImage image = builder.Build();
  image.PutInt32(builder.InfoOffset(0), 0);

  SaveFixture fixture({});
  fixture.WriteFolderFile("Inbox.dbx", image);
  RecordingObserver observer;
  fixture.list = fixture.Scan({{"Inbox.dbx", true}}, observer, true);
  ASSERT_EQ(fixture.list.Count(), 4u);
  ASSERT_TRUE(fixture.list[3].message.Found);
  ASSERT_TRUE(fixture.Save()); // found rows are ticked after the scan
  EXPECT_EQ(FileNames(fixture.Destination()), (std::vector<std::string>{"lost_record.eml"}));
  EXPECT_EQ(ReadFile(fixture.Destination() + "/lost_record.eml"), store.texts[0]);
}

// A message whose first block was lost is saved as one plain-text message of its own: a header
// that says where it was found, then its text exactly as found.
TEST(DeepScanRun, AFragmentSavesAsAMessageOfItsOwn) {
  const std::string text =
      Message("lost start", "a@example.org", std::string(2000, 'z') + "\r\nthe end\r\n");
  StoreBuilder builder;
  builder.AddMessage(Message("listed"));
  builder.AddMessage(text);
  dbxtest::DbxImage image = builder.Build();
  image.PutInt32(builder.InfoOffset(1), 0);
  image.PutInt32(builder.DataOffset(1), 0); // the first block is gone

  SaveFixture fixture({});
  fixture.WriteFolderFile("Inbox.dbx", image);
  RecordingObserver observer;
  fixture.list = fixture.Scan({{"Inbox.dbx", true}}, observer, true);
  ASSERT_EQ(fixture.list.Count(), 2u);
  const app::TEmailMessage& found = fixture.list[1].message;
  ASSERT_TRUE(found.Found);
  ASSERT_TRUE(found.Chain.Fragment);
  ASSERT_TRUE(fixture.Save());
  const std::vector<std::string> names = FileNames(fixture.Destination());
  ASSERT_EQ(names.size(), 1u);
  char where[32];
  std::snprintf(where, sizeof where, "0x%llx", static_cast<unsigned long long>(found.DataOffset));
  EXPECT_EQ(ReadFile(fixture.Destination() + "/" + names[0]),
            "Subject: Fragment of a message found at " + std::string(where) +
                " in Inbox.dbx\r\nX-Salvora-Fragment: the start of this message was lost; the "
                "text below is what was found\r\nMIME-Version: 1.0\r\nContent-Type: "
                "text/plain\r\n\r\n" +
                text.substr(512));
}

TEST(DeepScanRun, TheDeepScanOfOneFileAddsItsFoundRowsToTheList) {
  WorkflowFixture fixture;
  fixture.WriteFolderFile("Inbox.dbx", InboxWithALostRecord().image);
  fixture.WriteFolderFile("Other.dbx", InboxWithALostRecord().image);
  app::Recovery recovery(
      fixture.TempDir(), [&] { return fixture.Folder().path(); }, fixture.notifier);
  recovery.Folders() = {{"Inbox.dbx", true}, {"Other.dbx", true}};
  RecordingObserver scan;
  recovery.Scan(scan);
  ASSERT_EQ(recovery.List().Count(), 6u);
  EXPECT_EQ(std::count(scan.events.begin(), scan.events.end(), "damaged Other.dbx"), 1);
  recovery.List().SetTicked(0, true); // the user's ticks stay

  RecordingObserver deep;
  recovery.DeepScanFolder("Other.dbx", deep);
  const app::RecoveredList& list = recovery.List();
  ASSERT_EQ(list.Count(), 7u);
  EXPECT_TRUE(list[0].ticked);
  EXPECT_TRUE(list[6].message.Found);
  EXPECT_EQ(list[6].message.FolderFileName, "Other.dbx");
  EXPECT_EQ(list[6].subject, "lost record");
  EXPECT_EQ(deep.events,
            (std::vector<std::string>{"started", "max 10", "folder Other.dbx", "ended"}));
  EXPECT_EQ(deep.gauge, (std::vector<int>{5, 10, 10}));
  EXPECT_TRUE(deep.stop_was_set_at_end);
}

TEST(DeepScanRun, ANormalScanSaysWhichFilesLookDamaged) {
  StoreBuilder builder;
  for (int i = 0; i < 3; ++i)
    builder.AddMessage(Message("m" + std::to_string(i)));
  const dbxtest::DbxImage intact = builder.Build();
  auto damaged = [&](std::int64_t at, std::int32_t value) {
    dbxtest::DbxImage image = intact;
    image.PutInt32(at, value);
    return image;
  };
  struct Case {
    const char* file;
    dbxtest::DbxImage image;
    bool looks_damaged;
  } cases[] = {
      {"intact", intact, false},
      {"a fresh empty folder file", StoreBuilder().Build(), false},
      {"more messages declared than listed", damaged(196, 4), true},
      {"message count 0 over an index with entries", damaged(196, 0), true},
      {"root failing its test", damaged(48, 60000), true},
      {"header overwritten", damaged(0, 0), true},
      {"a record lost, the fallback table gone", damaged(builder.InfoOffset(1), 0), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    WorkflowFixture fixture;
    fixture.WriteFolderFile("Inbox.dbx", c.image);
    RecordingObserver observer;
    fixture.Scan({{"Inbox.dbx", true}}, observer);
    bool told = std::find(observer.events.begin(), observer.events.end(), "damaged Inbox.dbx") !=
                observer.events.end();
    EXPECT_EQ(told, c.looks_damaged);
    // The deep scan has looked already: no notice then.
    RecordingObserver deep;
    fixture.Scan({{"Inbox.dbx", true}}, deep, true);
    EXPECT_EQ(std::count(deep.events.begin(), deep.events.end(), "damaged Inbox.dbx"), 0);
  }
}

} // namespace
} // namespace testenv
