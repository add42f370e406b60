// The save run: names, counters, line ends, whole texts, and no partial files.
#include "app/message_file.h"
#include "app/save_run.h"
#include "store/uoexpress.h"
#include "workflow_fixture.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace testenv {
namespace {

namespace fs = std::filesystem;
using dbxtest::StoreBuilder;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::vector<std::string> FileNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A scanned list of the given texts in one folder file "Inbox.dbx".
class SaveFixture : public WorkflowFixture {
public:
  SaveFixture(const std::vector<std::string>& texts, const std::vector<int>& deleted = {}) {
    StoreBuilder builder;
    for (const auto& text : texts)
      builder.AddMessage(text);
    for (int message : deleted)
      builder.DeleteMessage(message);
    WriteFolderFile("Inbox.dbx", builder.Build());
    RecordingObserver observer;
    list = Scan({{"Inbox.dbx", true}}, observer);
    fs::create_directory(out.path() + "/mail");
  }

  bool Save() { return app::SaveEmails(list, TempDir(), Destination(), notifier); }
  std::string Destination() const { return out.path() + "/mail"; }

  app::RecoveredList list;
  TempFolder out;
};

TEST(SaveRun, SameSubjectsCountUpAcrossRuns) {
  SaveFixture fixture({Message("Hello World"), Message("Hello World"), Message("")});
  fixture.list.SelectAll();
  ASSERT_TRUE(fixture.Save());
  ASSERT_TRUE(fixture.Save());
  EXPECT_EQ(FileNames(fixture.Destination()),
            (std::vector<std::string>{".eml", "Hello_World.eml", "Hello_World_1.eml",
                                      "Hello_World_2.eml", "Hello_World_3.eml", "_1.eml"}));
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
  const std::string lf_name = app::SanitizeFileName(fixture.list[0].subject) + ".eml";
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

// Runs `body` in a child process as a user without rights to the destination: root writes
// into read-only folders, so as root the child becomes "nobody" first. Returns the exit code.
template <typename Body> int AsUnprivilegedUser(Body body) {
  pid_t child = ::fork();
  if (child == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
      ::_exit(3);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SaveRun, AFolderThatCannotBeWrittenEndsTheRunWithoutPartialFiles) {
  SaveFixture fixture({Message("one")});
  fixture.list.SelectAll();
  // The working copy stays readable for the child; the destination is read-only.
  fs::permissions(fixture.Folder().path(),
                  fs::perms::all & ~fs::perms::others_write & ~fs::perms::group_write);
  fs::permissions(fixture.Folder() / "Inbox.dbx",
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  fs::permissions(fixture.out.path(),
                  fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
  fs::permissions(fixture.Destination(), fs::perms::owner_read | fs::perms::owner_exec |
                                             fs::perms::others_read | fs::perms::others_exec);
  const std::string expected = "Cannot create file " + fixture.Destination() + "/one.eml";
  int result = AsUnprivilegedUser([&] {
    try {
      fixture.Save();
      return 1; // no error
    } catch (const std::runtime_error& error) {
      if (expected != error.what())
        return 2;
      if (!fixture.notifier.information.empty() || !platform::StopRequested())
        return 4;
      return 0;
    }
  });
  EXPECT_EQ(result, 0) << "1: no error, 2: another message, 3: cannot drop rights, 4: ran on";
  fs::permissions(fixture.Destination(), fs::perms::owner_all);
  EXPECT_TRUE(FileNames(fixture.Destination()).empty());
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
  SaveFixture fixture({Message("one")});
  fixture.list.SelectAll();
  platform::SetMessagePump(&StopPump);
  bool completed = fixture.Save();
  platform::SetMessagePump(nullptr);
  EXPECT_FALSE(completed);
  EXPECT_TRUE(FileNames(fixture.Destination()).empty());
  EXPECT_TRUE(fixture.notifier.information.empty());
}

TEST(SaveRun, AGoneWorkingCopyIsAnOpenError) {
  SaveFixture fixture({Message("one")});
  fixture.list.SelectAll();
  fs::remove(fixture.Folder() / "Inbox.dbx");
  EXPECT_THROW(fixture.Save(), uoexpress::EFOpenError);
  EXPECT_TRUE(FileNames(fixture.Destination()).empty());
}

} // namespace
} // namespace testenv
