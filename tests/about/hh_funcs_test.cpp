// Showing a help context through the three hosts, the error boxes and the log lines.
#include "about/hh_funcs.h"
#include "recording_help.h"

#include <gtest/gtest.h>

namespace about {
namespace {

using testhelp::LogLines;
using testhelp::Recorder;
using testhelp::RecordingFuncs;
using testhelp::Timed;
using Lines = std::vector<std::string>;

TEST(ShowContext, WithoutHtmlHelpReturnsOne) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs, /*installed=*/false);
  EXPECT_EQ(funcs.ShowContext("h.chm", 10, HostApi), 1);
  EXPECT_TRUE(r.shown.empty());
  EXPECT_EQ(LogLines(logs), (Lines{Timed("ShowContext(\"h.chm\", 10)"), Timed("  returned - 1")}));
}

TEST(ShowContext, ApiHostAsksTheViewer) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs);
  EXPECT_EQ(funcs.ShowContext("/p/h.chm", 30, HostApi), 0);
  ASSERT_EQ(r.shown.size(), 1u);
  EXPECT_EQ(r.shown[0], (std::pair<std::string, long>{"/p/h.chm", 30}));
  EXPECT_TRUE(r.runs.empty());
}

struct HostCase {
  THelpHost host;
  bool program_present;
  int result;
  const char* program;
  const char* parameters;
};

TEST(ShowContext, HelpProgramHosts) {
  const HostCase cases[] = {
      {HostKeyHH, true, 0, "C:/win/KeyHH.EXE", "-win -#mapid 20 h.chm"},
      {HostKeyHH, false, 2, nullptr, nullptr},
      {HostHHExe, true, 0, "C:/win/HH.EXE", "-mapid 20 h.chm"},
      {HostHHExe, false, 3, nullptr, nullptr},
  };
  for (const HostCase& c : cases) {
    testenv::TempFolder logs;
    Recorder r;
    r.windows_folder_program = c.program_present ? "C:/win/" : "";
    THHFuncs funcs = RecordingFuncs(r, logs);
    EXPECT_EQ(funcs.ShowContext("h.chm", 20, c.host), c.result);
    EXPECT_TRUE(r.shown.empty());
    if (c.program) {
      ASSERT_EQ(r.runs.size(), 1u);
      EXPECT_EQ(r.runs[0].first, c.program);
      EXPECT_EQ(r.runs[0].second, c.parameters);
    } else {
      EXPECT_TRUE(r.runs.empty());
    }
    EXPECT_EQ(LogLines(logs).back(), Timed("  returned - " + std::to_string(c.result)));
  }
}

TEST(HHHelpContext, HhExeGetsTheStorePrefixAndTheWindowsName) {
  testenv::TempFolder logs;
  Recorder r;
  r.windows_folder_program = "/prefix/windows/";
  THHFuncs funcs = RecordingFuncs(r, logs);
  EXPECT_EQ(funcs.HHHelpContext("/opt/salvora/SalvoraExpress.chm", 10, "main", HostHHExe), 0);
  ASSERT_EQ(r.runs.size(), 1u);
  EXPECT_EQ(r.runs[0].second, "-mapid 10 mk:@MSITStore:Z:\\opt\\salvora\\SalvoraExpress.chm>main");
  EXPECT_EQ(LogLines(logs),
            (Lines{Timed("HHHelpContext(\"/opt/salvora/SalvoraExpress.chm\", 10, \"main\", 2)"),
                   Timed("ShowContext(\"mk:@MSITStore:Z:\\opt\\salvora\\SalvoraExpress.chm>main\", "
                         "10)"),
                   Timed("  returned - 0")}));
}

TEST(HHHelpContext, ApiHostKeepsThePathAndDropsSpaces) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs);
  EXPECT_EQ(funcs.HHHelpContext(" /opt/my%20help/h.chm ", 10, "", HostApi), 0);
  ASSERT_EQ(r.shown.size(), 1u);
  EXPECT_EQ(r.shown[0].first, "/opt/my help/h.chm");
}

TEST(HHShowError, ZeroIsSilentOthersWarnAndLog) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs);
  funcs.HHShowError(0);
  EXPECT_TRUE(r.warnings.empty());
  for (int code : {1, 2, 3, 7})
    funcs.HHShowError(code);
  EXPECT_EQ(r.warnings, (Lines{"MS Html Help is not installed on this PC.",
                               "System file KeyHH.EXE was not found in the Windows folder.",
                               "System file HH.EXE was not found in the Windows folder.",
                               "Unknown error returned by HHHelpContext"}));
  EXPECT_EQ(LogLines(logs)[0],
            Timed("HHShowError(1), \"MS Html Help is not installed on this PC.\""));
  EXPECT_EQ(LogLines(logs).size(), 4u);
}

TEST(ShellRun, FailureWarnsWithBothLinesAndLogsThem) {
  testenv::TempFolder logs;
  Recorder r;
  r.run_result = platform::StartResult{false, 2, 0};
  THHFuncs funcs = RecordingFuncs(r, logs);
  EXPECT_FALSE(funcs.ShellRun("/w/HH.EXE", "-mapid 10 h.chm"));
  const std::string text =
      "Function ShellExecute(/w/HH.EXE, -mapid 10 h.chm)\rReturned: [Error:2] File Not Found";
  EXPECT_EQ(r.warnings, Lines{text});
  EXPECT_EQ(LogLines(logs), Lines{Timed(text)});
}

TEST(ShellRun, SuccessIsQuiet) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs);
  EXPECT_TRUE(funcs.ShellRun("/w/HH.EXE", "x"));
  EXPECT_TRUE(r.warnings.empty());
  EXPECT_TRUE(LogLines(logs).empty());
}

TEST(HelpLog, NothingIsWrittenWhileDebugIsOff) {
  testenv::TempFolder logs;
  Recorder r;
  THHFuncs funcs = RecordingFuncs(r, logs, true, /*debug=*/false);
  funcs.ShowContext("h.chm", 10, HostApi);
  funcs.HHShowError(1);
  EXPECT_FALSE(std::filesystem::exists(logs / "HHDebug.txt"));
  EXPECT_EQ(r.warnings.size(), 1u); // the box is shown all the same
}

} // namespace
} // namespace about
