// THookHelpSystem: which help commands it shows, keeps, or passes on, and what it logs.
#include "about/help_hook.h"
#include "recording_help.h"

#include <gtest/gtest.h>

namespace about {
namespace {

using testhelp::LogLines;
using testhelp::Recorder;
using testhelp::RecordingFuncs;
using testhelp::Timed;
using Lines = std::vector<std::string>;

// The handler in place before the hook, to see it restored.
struct EarlierHandler {
  EarlierHandler() {
    SetApplicationHelpHandler([this](unsigned command, long, bool& callDefault) {
      last = command;
      callDefault = false;
      return true;
    });
  }
  ~EarlierHandler() { SetApplicationHelpHandler({}); }
  unsigned last = 0;
};

TEST(HelpHook, ContextCommandsShowTheHelpFile) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs);
  THookHelpSystem hook("/opt/s/SalvoraExpress.chm", "", HostApi, funcs);
  EXPECT_TRUE(ApplicationHelpCommand(HELP_CONTEXT, 20));
  EXPECT_TRUE(ApplicationHelpCommand(HELP_CONTEXTPOPUP, 30));
  ASSERT_EQ(r.shown.size(), 2u);
  EXPECT_EQ(r.shown[0], (std::pair<std::string, long>{"/opt/s/SalvoraExpress.chm", 20}));
  EXPECT_EQ(r.shown[1], (std::pair<std::string, long>{"/opt/s/SalvoraExpress.chm", 30}));
  EXPECT_TRUE(r.warnings.empty());
}

TEST(HelpHook, PopupPositionIsKeptAndSwallowed) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs);
  THookHelpSystem hook("h.chm", "", HostApi, funcs);
  // y = -2 in the high word, x = 300 in the low word.
  const long position = static_cast<long>((0xFFFEu << 16) | 300u);
  EXPECT_TRUE(ApplicationHelpCommand(HELP_SETPOPUP_POS, position));
  EXPECT_EQ(hook.PopupX(), 300);
  EXPECT_EQ(hook.PopupY(), -2);
  bool callDefault = true;
  EXPECT_TRUE(hook.HelpHook(HELP_SETPOPUP_POS, 0xFFFF, callDefault));
  EXPECT_FALSE(callDefault);
  EXPECT_EQ(hook.PopupX(), -1);
  EXPECT_EQ(hook.PopupY(), 0);
  EXPECT_TRUE(r.shown.empty());
}

TEST(HelpHook, OtherCommandsGoToTheStandardHandling) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs);
  THookHelpSystem hook("h.chm", "", HostApi, funcs);
  for (unsigned command : {2u, 3u, 4u, 5u, 9u, 10u, 11u, 12u, 257u, 258u, 261u, 513u, 515u}) {
    bool callDefault = false;
    EXPECT_TRUE(hook.HelpHook(command, 5, callDefault)) << command;
    EXPECT_TRUE(callDefault) << command;
    EXPECT_FALSE(ApplicationHelpCommand(command, 5)) << command;
  }
  EXPECT_TRUE(r.shown.empty());
}

TEST(HelpHook, MissingHtmlHelpIsReported) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs, /*installed=*/false);
  THookHelpSystem hook("h.chm", "", HostApi, funcs);
  EXPECT_TRUE(ApplicationHelpCommand(HELP_CONTEXT, 10));
  EXPECT_EQ(r.warnings, Lines{"MS Html Help is not installed on this PC."});
}

TEST(HelpHook, LifetimeInstallsAndRestoresAndLogs) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs);
  EarlierHandler earlier;
  {
    THookHelpSystem hook("h.chm", "win", HostApi, funcs);
    ApplicationHelpCommand(HELP_CONTEXT, 10);
    EXPECT_EQ(earlier.last, 0u);
    EXPECT_EQ(r.close_all, 0);
  }
  EXPECT_EQ(r.close_all, 1);
  ApplicationHelpCommand(11u, 0);
  EXPECT_EQ(earlier.last, 11u);
  EXPECT_EQ(LogLines(logs), (Lines{Timed("THookHelpSystem.Create(\"h.chm\",\"win\", 0)"),
                                   Timed("THookHelpSystem.HelpHook(1 (HELP_CONTEXT), 10)"),
                                   Timed("HHHelpContext(\"h.chm\", 10, \"win\", 0)"),
                                   Timed("ShowContext(\"h.chm>win\", 10)"), Timed("  returned - 0"),
                                   Timed("THookHelpSystem.Destroy")}));
}

TEST(HelpHook, HelpProgramHostsDoNotCloseHelpWindows) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs);
  { THookHelpSystem hook("h.chm", "", HostKeyHH, funcs); }
  EXPECT_EQ(r.close_all, 0);
}

TEST(HelpHook, KeyHHMissingIsReported) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs);
  THookHelpSystem hook("h.chm", "", HostKeyHH, funcs);
  ApplicationHelpCommand(HELP_CONTEXT, 10);
  EXPECT_EQ(r.warnings, Lines{"System file KeyHH.EXE was not found in the Windows folder."});
}

} // namespace
} // namespace about
