// Starting programs and documents through Windows.
#include "platform/shell.h"
#include "scoped_environment.h"
#include "text/ascii.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace {

TEST(ShellWindows, FindsProgramsOnTheSearchPath) {
  const std::string cmd = platform::FindProgram("cmd");
  EXPECT_TRUE(cmd.size() > 8 &&
              text::EqualsIgnoringAsciiCase(cmd.substr(cmd.size() - 8), "\\cmd.exe"))
      << cmd;
  EXPECT_EQ(platform::FindProgram(cmd), cmd); // a path is taken as it is
  EXPECT_EQ(platform::FindProgram("salvora-no-such-program"), "");
  EXPECT_EQ(platform::FindProgram("C:\\salvora\\no-such.exe"), "");
  EXPECT_EQ(platform::FindProgram(""), "");
}

TEST(ShellWindows, AChildCanBeEndedAndIsThenNoLongerRunning) {
  // cmd waits for the console input that a test does not give it.
  const platform::StartResult child = platform::StartChild("cmd", {"/k"});
  ASSERT_TRUE(child.started) << child.error;
  EXPECT_NE(child.process, 0);
  platform::EndChild(child.process);
  EXPECT_FALSE(platform::ChildRunning(child.process));
}

TEST(ShellWindows, MissingProgramsAndDocumentsReportFileNotFound) {
  const platform::StartResult program = platform::StartDetached("salvora-no-such-program", {});
  EXPECT_FALSE(program.started);
  EXPECT_EQ(program.error, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
  testenv::TempFolder folder;
  const platform::StartResult document = platform::OpenDocument(folder.path() + "\\missing.txt");
  EXPECT_FALSE(document.started);
  EXPECT_EQ(document.error, static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
}

TEST(ShellWindows, ErrnoValuesBecomeSystemErrorCodes) {
  EXPECT_EQ(platform::SystemErrorFromErrno(0), 0u);
  EXPECT_EQ(platform::SystemErrorFromErrno(ENOENT),
            static_cast<unsigned long>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(platform::SystemErrorFromErrno(EACCES),
            static_cast<unsigned long>(ERROR_ACCESS_DENIED));
}

} // namespace
