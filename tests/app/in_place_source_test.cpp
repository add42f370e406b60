// SPDX-License-Identifier: MIT
// Disk images read in place: a folder of rows per folder file found in one, named after where
// the file starts, read back and saved from the image itself, which is never copied or
// changed; a folder file beside it is scanned as ever.
#include "app/message_writer.h"
#include "app/recovered_text.h"
#include "disk_image.h"
#include "platform/random_access_file.h"
#include "save_fixture.h"

#include <gtest/gtest.h>
#include <limits>

namespace testenv {
namespace {

namespace fs = std::filesystem;

TEST(InPlaceSource, WhatIsReadInPlaceAndHowItsFoldersAreNamed) {
  const struct {
    const char* path;
    bool in_place;
  } kinds[] = {{"Inbox.dbx", false}, {"dir/INBOX.DBX", false}, {"disk.img", true},
               {"/dev/sdb", true},   {"Inbox.dbx.bak", true},  {"\\\\.\\PhysicalDrive0", true},
               {"image.DbX", false}};
  for (const auto& kind : kinds)
    EXPECT_EQ(app::IsReadInPlace(kind.path), kind.in_place) << kind.path;

  const struct {
    const char* source;
    std::int64_t start;
    const char* folder;
    const char* output; // the mbox file's or Maildir's name
  } names[] = {
      {"disk.img", 0x8000000, "disk.img @ 0x8000000", "disk.img @ 0x8000000"},
      {"disk.img", -0x30000, "disk.img @ -0x30000", "disk.img @ -0x30000"},
      {"sdb", 0, "sdb @ 0x0", "sdb @ 0x0"},
      {"big.img", std::int64_t{0x1234} << 32, "big.img @ 0x123400000000",
       "big.img @ 0x123400000000"},
      {"C:", std::numeric_limits<std::int64_t>::min(), "C: @ -0x8000000000000000",
       "C_ @ -0x8000000000000000"},
      {"a/b:c?.img", 0x10, "a/b:c?.img @ 0x10", "a_b_c_.img @ 0x10"},
  };
  for (const auto& name : names) {
    const std::string folder = app::FoundFolderName(name.source, name.start);
    EXPECT_EQ(folder, name.folder);
    EXPECT_EQ(app::FolderOutputName({}, folder), name.output);
  }

  const app::FolderFile source = app::InPlaceSource("some/dir/disk.img");
  EXPECT_EQ(source.name, "disk.img");
  EXPECT_TRUE(source.ticked);
  EXPECT_EQ(source.source_path, (fs::current_path() / "some" / "dir" / "disk.img").string());
}

// An image of two folder files in noise, and a folder file of the store beside it.
struct ImageAndStore {
  ImageAndStore() {
    dbxtest::DbxImage bytes;
    bytes.bytes() = image.bytes();
    bytes.WriteTo(ImagePath());
    dbxtest::StoreBuilder builder;
    builder.AddMessage(Message("kept"));
    fixture.WriteFolderFile("Inbox.dbx", builder.Build());
  }
  std::string ImagePath() const { return elsewhere.path() + "/disk.img"; }

  dbxtest::DiskImage image = dbxtest::TwoStoresInNoise();
  TempFolder elsewhere; // not the folder of the working copies
  WorkflowFixture fixture;
};

TEST(InPlaceSource, AnImageGivesAFolderPerFolderFileFoundInIt) {
  ImageAndStore setup;
  app::Recovery recovery(
      setup.fixture.TempDir(), [&] { return setup.fixture.Folder().path(); },
      setup.fixture.notifier);
  recovery.Folders() = {{"Inbox.dbx", true}};
  recovery.AddInPlaceSource(setup.ImagePath());
  recovery.AddInPlaceSource(setup.ImagePath()); // listed once
  ASSERT_EQ(recovery.Folders().size(), 2u);
  RecordingObserver observer;
  recovery.Scan(observer); // no deep scan asked for: the image has it all the same

  const app::RecoveredList& list = recovery.List();
  ASSERT_EQ(list.Count(), 7u);
  EXPECT_EQ(list[0].message.FolderFileName, "Inbox.dbx");
  EXPECT_EQ(list[0].message.SourcePath, "");
  EXPECT_FALSE(list[0].message.Found);
  platform::SetStopRequested(false); // as a reader run does
  std::size_t row = 1;
  for (const dbxtest::PlacedStore& store : setup.image.stores()) {
    for (const dbxtest::ImageMessage& message : store.messages) {
      SCOPED_TRACE(message.subject);
      const app::TEmailMessage& found = list[row].message;
      EXPECT_EQ(found.FolderFileName, app::FoundFolderName("disk.img", store.start));
      EXPECT_EQ(found.SourcePath, setup.ImagePath());
      EXPECT_EQ(found.DataOffset, message.position);
      EXPECT_TRUE(found.Found);
      EXPECT_EQ(found.Chain.FreedBlocks, message.deleted);
      EXPECT_TRUE(list[row].ticked);
      EXPECT_EQ(list[row].subject, message.subject);
      // Read back from the image, wherever the working copies are.
      std::string text;
      app::ReadRecoveredText(found, "/nonexistent/", text, true);
      EXPECT_EQ(text, message.text);
      ++row;
    }
  }
  EXPECT_EQ(observer.events, (std::vector<std::string>{"started", "max 210", "folder Inbox.dbx",
                                                       "folder disk.img", "ended"}));
  // The image's pass takes the first half of its 200 units, its rows the second.
  EXPECT_EQ(observer.gauge.back(), 210);
  EXPECT_NE(std::find(observer.gauge.begin(), observer.gauge.end(), 110), observer.gauge.end());
}

TEST(InPlaceSource, FoundRowsSaveFromTheImageWhichStaysAsItWas) {
  ImageAndStore setup;
  const auto written = fs::last_write_time(setup.ImagePath());
  for (app::SaveFormat format : {app::SaveFormat::Eml, app::SaveFormat::Mbox}) {
    // The working copies' folder holds nothing of the image: the run reads it where it lies.
    TempFolder copies, out;
    app::Recovery recovery(
        copies.path() + "/", [&] { return setup.fixture.Folder().path(); }, setup.fixture.notifier);
    recovery.AddInPlaceSource(setup.ImagePath());
    ASSERT_TRUE(recovery.MakeWorkingCopies());
    EXPECT_EQ(FileNames(copies.path()), std::vector<std::string>{});
    RecordingObserver observer;
    recovery.Scan(observer, {}, true);
    ASSERT_EQ(recovery.List().Count(), 6u);
    ASSERT_TRUE(recovery.Save(out.path(), format));
    std::vector<std::string> expected;
    for (const dbxtest::PlacedStore& store : setup.image.stores()) {
      const std::string folder = app::FoundFolderName("disk.img", store.start);
      if (format == app::SaveFormat::Mbox) {
        expected.push_back(folder + ".mbox");
        continue;
      }
      for (const dbxtest::ImageMessage& message : store.messages) {
        expected.push_back(message.subject + ".eml");
        EXPECT_EQ(ReadFile(out.path() + "/" + message.subject + ".eml"), message.text);
      }
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FileNames(out.path()), expected);
  }
  EXPECT_EQ(ReadFile(setup.ImagePath()), setup.image.bytes());
  EXPECT_EQ(fs::last_write_time(setup.ImagePath()), written);
}

TEST(InPlaceSource, StopDuringThePassEndsTheWholeRun) {
  // Stop as the pass over the image reports: the folder file after it is never started.
  struct StopInPass : RecordingObserver {
    void SourceScanned(std::int64_t, std::int64_t) override { platform::SetStopRequested(true); }
  };
  ImageAndStore setup;
  app::Recovery recovery(
      setup.fixture.TempDir(), [&] { return setup.fixture.Folder().path(); },
      setup.fixture.notifier);
  recovery.AddInPlaceSource(setup.ImagePath());
  recovery.Folders().push_back({"Inbox.dbx", true});
  StopInPass observer;
  recovery.Scan(observer);
  ASSERT_EQ(observer.events.size(), 4u);
  EXPECT_EQ(observer.events[2], "folder disk.img");
  EXPECT_TRUE(observer.events[3].starts_with("ended"));
  EXPECT_TRUE(observer.stop_was_set_at_end);
}

// The image's bytes, with a range that cannot be read as a bad sector cannot.
class ImageWithABadSector final : public platform::RandomAccessFile {
public:
  static inline std::string bytes;
  static constexpr std::int64_t kBad = 0x800, kBadLength = 0x800;

  static std::unique_ptr<platform::RandomAccessFile> Open(const std::string&) {
    return std::make_unique<ImageWithABadSector>();
  }
  std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t length) override {
    return ReadAtChecked(offset, buffer, length).got;
  }
  platform::ReadResult ReadAtChecked(std::int64_t offset, char* buffer,
                                     std::size_t length) override {
    if (offset < 0 || offset >= Size())
      return {};
    const std::int64_t end = std::min(Size(), offset + static_cast<std::int64_t>(length));
    const std::int64_t stop =
        offset < kBad + kBadLength && end > kBad ? std::max(offset, kBad) : end;
    std::copy(bytes.begin() + offset, bytes.begin() + stop, buffer);
    return {static_cast<std::size_t>(stop - offset), stop < end};
  }
  std::int64_t Size() const override { return static_cast<std::int64_t>(bytes.size()); }
};

TEST(InPlaceSource, UnreadableBytesAreToldAndTheScanGoesOn) {
  struct Unreadable : RecordingObserver {
    void UnreadableBytes(const std::string& name, std::int64_t offset,
                         std::int64_t length) override {
      told.push_back(name + " " + std::to_string(offset) + " " + std::to_string(length));
    }
    std::vector<std::string> told;
  };
  ImageAndStore setup;
  ImageWithABadSector::bytes = setup.image.bytes();
  platform::SetFileOpener(&ImageWithABadSector::Open);
  struct Restore {
    ~Restore() { platform::SetFileOpener(nullptr); }
  } restore;
  app::Recovery recovery(
      setup.fixture.TempDir(), [&] { return setup.fixture.Folder().path(); },
      setup.fixture.notifier);
  recovery.AddInPlaceSource(setup.ImagePath());
  Unreadable observer;
  recovery.Scan(observer);
  EXPECT_EQ(observer.told, std::vector<std::string>{"disk.img 2048 2048"});
  EXPECT_EQ(recovery.List().Count(), 6u);
}

TEST(InPlaceSource, ClearingTheSourcesLeavesTheStoresFolders) {
  ImageAndStore setup;
  app::Recovery recovery(
      setup.fixture.TempDir(), [&] { return setup.fixture.Folder().path(); },
      setup.fixture.notifier);
  recovery.AddInPlaceSource(setup.ImagePath());
  recovery.LoadFolders(); // the store's files, then the image, which stays
  ASSERT_EQ(recovery.Folders().size(), 2u);
  EXPECT_EQ(recovery.Folders()[0].name, "Inbox.dbx");
  EXPECT_EQ(recovery.Folders()[1].source_path, setup.ImagePath());
  recovery.ClearInPlaceSources();
  recovery.LoadFolders();
  ASSERT_EQ(recovery.Folders().size(), 1u);
  EXPECT_EQ(recovery.Folders()[0].name, "Inbox.dbx");
}

} // namespace
} // namespace testenv
