// The save run: names, counters, line ends, whole texts, and no partial files.
#include "app/message_file.h"
#include "save_fixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <utility>

namespace testenv {
namespace {

namespace fs = std::filesystem;
using dbxtest::StoreBuilder;

TEST(SaveRun, SameSubjectsCountUpAcrossRuns) {
  SaveFixture fixture({Message("Hello World"), Message("Hello World"), Message("")});
  fixture.list.SelectAll();
  ASSERT_TRUE(fixture.Save());
  ASSERT_TRUE(fixture.Save());
  const std::string no_subject = app::MessageFileStem("");
  std::vector<std::string> expected{"Hello_World.eml",   "Hello_World_1.eml",
                                    "Hello_World_2.eml", "Hello_World_3.eml",
                                    no_subject + ".eml", no_subject + "_1.eml"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FileNames(fixture.Destination()), expected);
  EXPECT_EQ(fixture.count.ticked, 3u);
  EXPECT_EQ(fixture.count.saved, 3u);
  EXPECT_EQ(fixture.notifier.information,
            (std::vector<std::string>{app::kSavedMessage, app::kSavedMessage}));
  EXPECT_EQ(fixture.notifier.busy_changes, 4); // busy on and off around each run
}

TEST(SaveRun, WritesWholeTextsWithCrLfLinesInListOrder) {
  const std::string lone_lf = "From: a@example.org\nSubject: lf\n\nline one\nline two";
  const std::string long_text = Message("long", "a@example.org", std::string(30000, 'y') + "\r\n");
  SaveFixture fixture({lone_lf, long_text}, {1});
  ASSERT_EQ(fixture.list.Count(), 2u);
  fixture.list.SelectAll();
  ASSERT_TRUE(fixture.Save());
  // How the parser names a message with lone LF line ends is its own affair; the file is
  // named from the subject shown.
  const std::string lf_name = app::MessageFileStem(fixture.list[0].subject) + ".eml";
  EXPECT_EQ(ReadFile(fixture.Destination() + "/" + lf_name),
            "From: a@example.org\r\nSubject: lf\r\n\r\nline one\r\nline two\r\n");
  // The deleted message is read whole, though the scan read only its preview.
  EXPECT_EQ(ReadFile(fixture.Destination() + "/long.eml"), StoreBuilder::DeletedText(long_text));
}

TEST(SaveRun, ALongSubjectStillMakesAFile) {
  SaveFixture fixture({Message(std::string(600, 'L')), Message(std::string(600, 'L'))});
  fixture.list.SelectAll();
  ASSERT_TRUE(fixture.Save());
  EXPECT_EQ(
      FileNames(fixture.Destination()),
      (std::vector<std::string>{std::string(185, 'L') + ".eml", std::string(185, 'L') + "_1.eml"}));
}

TEST(SaveRun, OnlyTickedRowsAndNothingTickedStillSucceeds) {
  SaveFixture fixture({Message("live"), Message("gone")}, {1});
  ASSERT_TRUE(fixture.Save()); // the deleted message is ticked after the scan
  EXPECT_EQ(FileNames(fixture.Destination()), (std::vector<std::string>{"gone.eml"}));
  fixture.list.SelectNone();
  fs::remove(fixture.Destination() + "/gone.eml");
  EXPECT_TRUE(fixture.Save());
  EXPECT_TRUE(FileNames(fixture.Destination()).empty());
  EXPECT_EQ(fixture.notifier.information.size(), 2u);
}

TEST(SaveRun, ExistingFilesAreNeverReplaced) {
  SaveFixture fixture({Message("Taken")});
  fixture.list.SelectAll();
  std::ofstream(fixture.Destination() + "/Taken.eml") << "mine";
  fs::create_directory(fixture.Destination() + "/Taken_1.eml"); // even a folder of that name
  ASSERT_TRUE(fixture.Save());
  EXPECT_EQ(ReadFile(fixture.Destination() + "/Taken.eml"), "mine");
  EXPECT_TRUE(fs::is_regular_file(fixture.Destination() + "/Taken_2.eml"));
}

TEST(SaveRun, AMissingDestinationIsAnErrorNamingTheFile) {
  SaveFixture fixture({Message("one")});
  fixture.list.SelectAll();
  fs::remove(fixture.Destination());
  EXPECT_THROW(fixture.Save(), std::runtime_error);
  EXPECT_FALSE(fs::exists(fixture.Destination()));
}

// Stop pressed while a message is being read: nothing is written for it.
void StopPump() {
  platform::SetStopRequested(true);
}

TEST(SaveRun, StopDuringAReadWritesNothing) {
  SaveFixture fixture({Message("one"), Message("two")});
  fixture.list.SelectAll();
  platform::SetMessagePump(&StopPump);
  bool completed = fixture.Save();
  platform::SetMessagePump(nullptr);
  EXPECT_FALSE(completed);
  EXPECT_TRUE(FileNames(fixture.Destination()).empty());
  EXPECT_TRUE(fixture.notifier.information.empty());
  EXPECT_EQ(app::SaveCutShortText(fixture.count), "0 of 2 e-mails saved");
}

TEST(SaveRun, AGoneWorkingCopyIsAnOpenError) {
  SaveFixture fixture({Message("one")});
  fixture.list.SelectAll();
  fs::remove(fixture.Folder() / "Inbox.dbx");
  EXPECT_THROW(fixture.Save(), uoexpress::EFOpenError);
  EXPECT_TRUE(FileNames(fixture.Destination()).empty());
  EXPECT_EQ(app::SaveCutShortText(fixture.count), "0 of 1 e-mails saved");
}

// What the user does while the readers pump: the run writes the rows ticked when it began.
SaveFixture* g_changed_fixture = nullptr;
void (*g_change)(app::RecoveredList&) = nullptr;
void ChangeListOnce() {
  if (g_change != nullptr)
    std::exchange(g_change, nullptr)(g_changed_fixture->list);
}
// The saved messages in a folder; a temporary file that is still to take its name is none.
std::size_t EmlFiles(const std::string& folder) {
  const std::vector<std::string> names = FileNames(folder);
  return static_cast<std::size_t>(std::count_if(
      names.begin(), names.end(), [](const std::string& name) { return name.ends_with(".eml"); }));
}
// The destination folder moves away once the first message is in it: every later file fails.
void MoveDestinationAfterTheFirstFile() {
  const std::string destination = g_changed_fixture->Destination();
  if (fs::exists(destination) && EmlFiles(destination) > 0)
    fs::rename(destination, destination + "-moved");
}

TEST(SaveRun, ChangesToTheListDuringTheRunChangeNothingItWrites) {
  struct Case {
    const char* what;
    void (*change)(app::RecoveredList&);
  };
  const Case cases[] = {
      {"untick all", [](app::RecoveredList& list) { list.SelectNone(); }},
      {"tick all", [](app::RecoveredList& list) { list.SelectAll(); }},
      {"sort", [](app::RecoveredList& list) { list.ColumnClick(app::kSubjectColumn); }},
      {"empty", [](app::RecoveredList& list) { list.Clear(); }},
  };
  for (const auto& c : cases) {
    SaveFixture fixture({Message("c"), Message("b"), Message("a"), Message("d")});
    fixture.list.SetTicked(0, true);
    fixture.list.SetTicked(1, true);
    fixture.list.SetTicked(3, true);
    g_changed_fixture = &fixture;
    g_change = c.change;
    platform::SetMessagePump(&ChangeListOnce);
    const bool completed = fixture.Save();
    platform::SetMessagePump(nullptr);
    EXPECT_TRUE(completed) << c.what;
    EXPECT_EQ(FileNames(fixture.Destination()),
              (std::vector<std::string>{"b.eml", "c.eml", "d.eml"}))
        << c.what;
    EXPECT_EQ(fixture.count.saved, 3u) << c.what;
  }
}

// Files are written on worker threads and named in row order: with far more messages than are
// read ahead, every name and counter is what writing them one by one gives.
TEST(SaveRun, NamesFollowTheRowOrderWhateverThreadWroteTheFile) {
  const char* subjects[] = {"a", "b", "a", "c", "a"};
  std::vector<std::string> texts;
  for (int i = 0; i < 100; ++i)
    texts.push_back(Message(subjects[i % 5], "s" + std::to_string(i) + "@example.org"));
  SaveFixture fixture(texts);
  ASSERT_EQ(fixture.list.Count(), texts.size());
  fixture.list.SelectAll();
  ASSERT_TRUE(fixture.Save());
  EXPECT_EQ(fixture.count.saved, texts.size());
  std::map<std::string, int> seen;
  for (std::size_t row = 0; row < fixture.list.Count(); ++row) {
    const std::string subject = fixture.list[row].subject;
    const int n = seen[subject]++;
    std::string name = subject;
    if (n > 0)
      name += '_' + std::to_string(n);
    name += ".eml";
    const std::string text = ReadFile(fixture.Destination() + "/" + name);
    EXPECT_NE(text.find("<" + fixture.list[row].from + ">"), std::string::npos) << name;
  }
}

// More messages than are read ahead of the one named next, so the error meets a file named
// after others were.
TEST(SaveRun, AnErrorPartWayLeavesTheCountOfFilesWritten) {
  std::vector<std::string> texts;
  for (int i = 0; i < 40; ++i)
    texts.push_back(Message("m" + std::to_string(i)));
  SaveFixture fixture(texts);
  fixture.list.SelectAll();
  g_changed_fixture = &fixture;
  platform::SetMessagePump(&MoveDestinationAfterTheFirstFile);
  try {
    fixture.Save();
    ADD_FAILURE() << "the save went on where its folder had been";
  } catch (const std::runtime_error& error) {
    EXPECT_EQ(std::string(error.what()).rfind("Cannot create file " + fixture.Destination(), 0), 0u)
        << error.what();
  }
  platform::SetMessagePump(nullptr);
  // What was written before stays whole, in the folder under its new name.
  const std::size_t written = EmlFiles(fixture.Destination() + "-moved");
  EXPECT_GE(written, 1u);
  EXPECT_LT(written, 40u);
  EXPECT_EQ(app::SaveCutShortText(fixture.count), std::to_string(written) + " of 40 e-mails saved");
}

} // namespace
} // namespace testenv
