// HHDebug.txt: line rules, the header written at start-up, and the state it reports.
#include "about/help_log.h"
#include "about/hh_funcs.h"
#include "about/version_block_writer.h"
#include "pe_builder.h"
#include "recording_help.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace about {
namespace {

using testhelp::LogLines;
using Lines = std::vector<std::string>;

TEST(FormatLogLine, Rules) {
  const std::string t = "09:05:01";
  EXPECT_EQ(FormatLogLine("-", t), std::string(79, '-'));
  EXPECT_EQ(FormatLogLine("=", t), std::string(79, '='));
  EXPECT_EQ(FormatLogLine("!Date: x", t), "Date: x");
  EXPECT_EQ(FormatLogLine("--x", t), "-x");
  EXPECT_EQ(FormatLogLine("=x", t), "x");
  EXPECT_EQ(FormatLogLine("", t), "09:05:01   ");
  EXPECT_EQ(FormatLogLine("ShowContext(\"a\", 1)", t), "09:05:01   ShowContext(\"a\", 1)");
  EXPECT_EQ(FormatLogLine(" !x", t), "09:05:01    !x");
}

TEST(HelpLogFile, AppendsAndSkipsWhenItCannotWrite) {
  testenv::TempFolder folder;
  THelpLog log(folder.path(), true, [] { return std::string("T"); });
  log.Write("one");
  log.Write("-");
  EXPECT_EQ(testenv::ReadFile(folder / "HHDebug.txt"), "T   one\n" + std::string(79, '-') + "\n");
  THelpLog nowhere(testenv::UnwritableFolder(), true, [] { return std::string("T"); });
  nowhere.Write("lost"); // no error
  THelpLog off(folder.path(), false, [] { return std::string("T"); });
  off.Write("ignored");
  EXPECT_EQ(LogLines(folder).size(), 2u);
}

HelpState SampleState(const std::string& folder) {
  HelpState s;
  s.exe_path = "/opt/salvora/SalvoraExpress";
  s.run_dir = "/opt/salvora";
  s.module_name = "SalvoraExpress";
  s.module_dir = "/opt/salvora";
  s.help_log_dir = folder;
  s.help_debug = true;
  s.hh_installed = true;
  s.hh_ver_str = "1.35.0.0";
  s.hh_friendly_ver_str = "< 1.0";
  return s;
}

TEST(HelpLogHeader, ExactLinesWithSeparatorsOf79) {
  testenv::TempFolder folder;
  testenv::ScopedVariable lc_all("LC_ALL", std::nullopt);
  testenv::ScopedVariable lc_messages("LC_MESSAGES", std::nullopt);
  testenv::ScopedVariable lang("LANG", "de_DE.UTF-8");
  testhelp::Recorder r;
  THHFuncs funcs(SampleState(folder.path()), testhelp::RecordingServices(r),
                 THelpLog(folder.path(), true, [] { return std::string("T"); }));
  testenv::WriteFile(folder / "HHDebug.txt", "old run\n");
  funcs.StartLog("09.12.2026 10:00:00");
  funcs.HelpLog("after");
  const std::string dashes(79, '-');
  const Lines expected = {
      "Filename:             \t" + folder / "HHDebug.txt",
      "Date:                 \t09.12.2026 10:00:00",
      "SysLocale.DefaultLCID: \t0x0407",
      "SysLocale.PriLangID:   \t0x0007",
      "SysLocale.SubLangID:   \t0x0001",
      "DecimalSeparator:      \t.",
      dashes,
      "EXE Path =          \t/opt/salvora/SalvoraExpress",
      "_RunDir =           \t/opt/salvora",
      "_ModuleName =       \tSalvoraExpress",
      "_ModuleDir =        \t/opt/salvora",
      dashes,
      "_hhInstalled =      \tYES",
      "_hhVerStr =         \t1.35.0.0",
      "_hhFriendlyVerStr = \t< 1.0",
      dashes,
      "_ieInstalled =      \tNO",
      "_ieVerStr =         \t",
      "_ieFriendlyVerStr = \t",
      std::string(79, '='),
      "T   after",
  };
  EXPECT_EQ(LogLines(folder), expected);
}

TEST(HelpLogHeader, OldLogGoesEvenWhenDebugIsOff) {
  testenv::TempFolder folder;
  HelpState state = SampleState(folder.path());
  state.help_debug = false;
  testhelp::Recorder r;
  THHFuncs funcs(state, testhelp::RecordingServices(r), THelpLog(folder.path(), false, {}));
  testenv::WriteFile(folder / "HHDebug.txt", "old run\n");
  funcs.StartLog("now");
  EXPECT_FALSE(std::filesystem::exists(folder / "HHDebug.txt"));
}

std::string WritePe(const std::string& path, std::array<std::uint16_t, 4> version) {
  VersionBlockFields f;
  f.file_version = version;
  const std::vector<std::uint8_t> pe = testpe::BuildPe(BuildVersionBlock(f));
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(pe.data()), static_cast<std::streamsize>(pe.size()));
  return path;
}

TEST(HelpState, ModuleFolderSwitchesAndVersions) {
  testenv::TempFolder folder;
  const std::string exe = folder / "bin/SalvoraExpress";
  testenv::WriteFile(exe, "#!/bin/sh\n");
  const std::string viewer = WritePe(folder / "viewer/hhctrl.ocx", {4, 74, 8793, 0});
  WritePe(folder / "system32/SHDOCVW.DLL", {4, 70, 0, 1155});

  HelpState s = ComputeHelpState(exe, {exe}, viewer, folder / "system32");
  EXPECT_EQ(s.module_name, "SalvoraExpress");
  EXPECT_EQ(s.module_dir, folder / "bin");
  EXPECT_EQ(s.run_dir, folder / "bin");
  EXPECT_EQ(s.help_log_dir, folder / "bin");
  EXPECT_FALSE(s.help_debug);
  EXPECT_EQ(s.hh_ver_str, "4.74.8793.0");
  EXPECT_TRUE(s.hh_installed);
  EXPECT_EQ(s.hh_friendly_ver_str, "1.31");
  EXPECT_EQ(s.ie_ver_str, "4.70.1155.0");
  EXPECT_TRUE(s.ie_installed);
  EXPECT_EQ(s.ie_friendly_ver_str, "Internet Explorer 3.0");
  EXPECT_FALSE(std::filesystem::exists(folder / "bin/$_Temp_$.$$$"));

  EXPECT_TRUE(ComputeHelpState(exe, {exe, "/DEBUG"}, "", "").help_debug);
  testenv::WriteFile(folder / "bin/debug.debug", "");
  EXPECT_TRUE(ComputeHelpState(exe, {exe}, "", "").help_debug);
}

TEST(HelpState, NoViewerNoBrowser) {
  testenv::TempFolder folder;
  const HelpState s = ComputeHelpState(folder / "prog", {}, "", folder / "nothing");
  EXPECT_EQ(s.hh_ver_str, "");
  EXPECT_FALSE(s.hh_installed);
  EXPECT_EQ(s.hh_friendly_ver_str, "");
  EXPECT_EQ(s.ie_ver_str, "");
  EXPECT_FALSE(s.ie_installed);
  EXPECT_EQ(s.ie_friendly_ver_str, "");
  EXPECT_EQ(FileVersionOf(folder / "missing"), "");
}

TEST(HelpState, UnwritableModuleFolderLogsInTheUsersTemporaryFolder) {
  testenv::IsolatedUser user;
  const HelpState s = ComputeHelpState(testenv::UnwritableFolder() + "prog", {}, "", "");
  EXPECT_EQ(s.help_log_dir.rfind(user.tmp() + "/", 0), 0u) << s.help_log_dir;
  EXPECT_NE(s.help_log_dir.back(), '/');
  EXPECT_TRUE(DirWritable(s.help_log_dir));
  EXPECT_FALSE(DirWritable(testenv::UnwritableFolder()));
}

} // namespace
} // namespace about
