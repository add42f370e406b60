// The save run into a folder the user may not write, on POSIX systems: the rights are
// taken away from a child process.
#include "platform/pump.h"
#include "save_fixture.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace testenv {
namespace {

namespace fs = std::filesystem;

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

} // namespace
} // namespace testenv
