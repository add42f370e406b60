// The help functions' fixed texts and tables.
#include "about/hh_funcs.h"

#include <gtest/gtest.h>

namespace about {
namespace {

struct PathCase {
  const char* file;
  const char* topic;
  const char* window;
  const char* prefix;
  const char* path;
};

TEST(MakeHelpPath, Table) {
  const PathCase cases[] = {
      {"C:\\a b\\h.chm", "dir\\page.htm", "main",
       "mk:@MSITStore:", "mk:@MSITStore:C:\\a b\\h.chm::/dir/page.htm>main"},
      {"/opt/my%20help/h.chm", "", "", "", "/opt/my help/h.chm"},
      {"  h.chm  ", "  /x.htm ", " w ", "ms-its:", "ms-its:h.chm::/x.htm>w"},
      {"%20h.chm%20", "", "", "", "h.chm"},
      {"", "a\\b.htm", "", "", "/a/b.htm"},
      {"", "", "win", "", ">win"},
      {"h.chm", "", "", "mk:@MSITStore:", "mk:@MSITStore:h.chm"},
      {"h.chm", "/already.htm", "", "", "h.chm::/already.htm"},
      {"h.chm", "%20", "%20", "", "h.chm"},
      {"h.chm", "my%20page.htm", "", "", "h.chm::/my page.htm"},
  };
  for (const PathCase& c : cases)
    EXPECT_EQ(MakeHelpPath(c.file, c.topic, c.window, c.prefix), c.path) << c.path;
}

TEST(CommandName, Table) {
  const std::pair<unsigned, const char*> cases[] = {
      {1, "1 (HELP_CONTEXT)"},
      {2, "2 (HELP_QUIT)"},
      {3, "3 (HELP_INDEX or HELP_CONTENTS)"},
      {4, "4 (HELP_HELPONHELP)"},
      {5, "5 (HELP_SETINDEX or HELP_SETCONTENTS)"},
      {6, "6 (?"
          "?)"},
      {7, "7 (?"
          "?)"},
      {8, "8 (HELP_CONTEXTPOPUP)"},
      {9, "9 (HELP_FORCEFILE)"},
      {10, "10 (HELP_CONTEXTMENU)"},
      {11, "11 (HELP_FINDER)"},
      {12, "12 (HELP_WM_HELP)"},
      {13, "13 (HELP_SETPOPUP_POS)"},
      {14, "14 (?"
           "?)"},
      {257, "257 (HELP_KEY)"},
      {258, "258 (HELP_COMMAND)"},
      {261, "261 (HELP_PARTIALKEY)"},
      {513, "513 (HELP_MULTIKEY)"},
      {515, "515 (HELP_SETWINPOS)"},
      {0, "0 (?"
          "?)"},
  };
  for (const auto& [command, name] : cases)
    EXPECT_EQ(CommandName(command), name);
}

TEST(HHErrorText, Table) {
  EXPECT_EQ(HHErrorText(1), "MS Html Help is not installed on this PC.");
  EXPECT_EQ(HHErrorText(2), "System file KeyHH.EXE was not found in the Windows folder.");
  EXPECT_EQ(HHErrorText(3), "System file HH.EXE was not found in the Windows folder.");
  EXPECT_EQ(HHErrorText(4), "Unknown error returned by HHHelpContext");
  EXPECT_EQ(HHErrorText(-1), "Unknown error returned by HHHelpContext");
}

TEST(ShellErrorText, Table) {
  const std::pair<unsigned long, const char*> cases[] = {
      {2, "File Not Found"},
      {3, "Path Not Found"},
      {5, "Access Denied"},
      {8, "Insufficient Memory"},
      {19, "Media Is Write Protected"},
      {21, "Device Not Ready"},
      {32, "File In Use"},
      {33, "File In Use"},
      {39, "Disk Full"},
      {112, "Disk Full"},
      {276, "Corrupt File Or Disk"},
      {1005, "Corrupt File Or Disk"},
      {1392, "Corrupt File Or Disk"},
      {1393, "Corrupt File Or Disk"},
      {1009, "Corrupt Registry"},
      {1358, "Corrupt Registry"},
      {1150, "Windows Version Incorrect"},
      {1151, "Not A Windows Or MSDos Program"},
      {0, "General Failure"},
      {4, "General Failure"},
      {31, "General Failure"},
  };
  for (const auto& [code, text] : cases)
    EXPECT_EQ(ShellErrorText(code), "[Error:" + std::to_string(code) + "] " + text);
}

TEST(HHFriendlyVersion, Table) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"4.74.8793.1", "> 1.31"},
      {"5.0.0.0", "> 1.31"},
      {"4.74.8793.0", "1.31"},
      {"4.74.8792.0", "1.3"},
      {"4.74.8702.0", "1.3"},
      {"4.74.8701.9", "1.22"},
      {"4.73.8561.0", "1.22"},
      {"4.73.8474.0", "1.21a"},
      {"4.73.8412.0", "1.21"},
      {"4.73.8252.0", "1.2"},
      {"4.72.8164.0", "1.1b"},
      {"4.72.7325.0", "1.1a"},
      {"4.72.7323.0", "1.1"},
      {"4.72.7290.0", "1.0"},
      {"4.72.7289.9", "< 1.0"},
      {"1.35.0.0", "< 1.0"},
  };
  for (const auto& [version, name] : cases)
    EXPECT_EQ(HHFriendlyVersion(version), name) << version;
}

TEST(IEFriendlyVersion, Table) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"6.0.2900.2180", "> Internet Explorer 5.5 Developer Preview"},
      {"5.50.3825.1301", "> Internet Explorer 5.5 Developer Preview"},
      {"5.50.3825.1300", "Internet Explorer 5.5 Developer Preview"},
      {"5.50.3825.1299", "Internet Explorer 5.01"},
      {"5.0.2919.6307", "Internet Explorer 5.01"},
      {"5.0.2919.3800", "Internet Explorer 5.01 (Windows 2000 RC2, build 5.00.2128)"},
      {"5.0.2919.800", "Internet Explorer 5.01 (Windows 2000 RC1, build 5.00.2072)"},
      {"5.0.2721.1400", "Internet Explorer 5.0 updated"},
      {"5.0.2614.0", "Internet Explorer 5.0b"},
      {"5.0.2314.0", "Internet Explorer 5.0a"},
      {"5.0.2014.0", "Internet Explorer 5.0"},
      {"5.0.910.0", "Internet Explorer 5 Beta (Beta 2)"},
      {"5.0.518.0", "Internet Explorer 5 Developer Preview (Beta 1)"},
      {"4.72.3612.0", "Internet Explorer 4.01 Service Pack 2 (SP2)"},
      {"4.72.3110.0", "Internet Explorer 4.01 Service Pack 1 (SP1)"},
      {"4.72.2106.0", "Internet Explorer 4.01"},
      {"4.71.1712.0", "Internet Explorer 4.0"},
      {"4.71.1008.0", "Internet Explorer 4.0 Platform Preview 2.0 (PP2)"},
      {"4.71.544.0", "Internet Explorer 4.0 Platform Preview 1.0 (PP1)"},
      {"4.70.1300.0", "Internet Explorer 3.02"},
      {"4.70.1215.0", "Internet Explorer 3.01"},
      {"4.70.1158.0", "Internet Explorer 3.0 (OSR2)"},
      {"4.70.1155.0", "Internet Explorer 3.0"},
      {"4.40.520.0", "Internet Explorer 2.0"},
      {"4.40.308.0", "Internet Explorer 1.0 (Plus!)"},
      {"4.40.307.0", "< Internet Explorer 1.0 (Plus!)"},
  };
  for (const auto& [version, name] : cases)
    EXPECT_EQ(IEFriendlyVersion(version), name) << version;
}

TEST(CorrectedIEVersion, FourthNumberMovesUpForOldBuilds) {
  EXPECT_EQ(CorrectedIEVersion("4.70.0.1155"), "4.70.1155.0");
  EXPECT_EQ(CorrectedIEVersion("4.40.0.308"), "4.40.308.0");
  EXPECT_EQ(CorrectedIEVersion("4.71.0.1712"), "4.71.0.1712"); // minor above 70
  EXPECT_EQ(CorrectedIEVersion("4.70.1.1155"), "4.70.1.1155"); // third not 0
  EXPECT_EQ(CorrectedIEVersion("5.0.0.2014"), "5.0.0.2014");
  EXPECT_EQ(CorrectedIEVersion(""), "");
}

TEST(DebugParameter, SlashOrDashInAnyCase) {
  EXPECT_TRUE(DebugParameterGiven({"prog", "/DEBUG"}));
  EXPECT_TRUE(DebugParameterGiven({"prog", "x", "-Debug"}));
  EXPECT_TRUE(DebugParameterGiven({"prog", "/debug"}));
  EXPECT_FALSE(DebugParameterGiven({"/debug"})); // the program's own name
  EXPECT_FALSE(DebugParameterGiven({"prog", "--debug"}));
  EXPECT_FALSE(DebugParameterGiven({"prog", "debug"}));
  EXPECT_FALSE(DebugParameterGiven({"prog", "/debugx"}));
}

TEST(SplitParameters, BlanksSeparateQuotesGroup) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitParameters("-mapid 10 mk:@MSITStore:Z:\\a b\\h.chm"),
            (V{"-mapid", "10", "mk:@MSITStore:Z:\\a", "b\\h.chm"}));
  EXPECT_EQ(SplitParameters("  \"a b\"  c "), (V{"a b", "c"}));
  EXPECT_EQ(SplitParameters("\"\""), (V{""}));
  EXPECT_EQ(SplitParameters(""), V{});
}

TEST(ShellCommandLine, WindowsProgramsRunThroughWine) {
  using V = std::vector<std::string>;
  EXPECT_EQ(
      ShellCommandLine("/p/drive_c/windows/HH.EXE", "-mapid 10 mk:@MSITStore:Z:\\a b.chm"),
      (V{"wine", "/p/drive_c/windows/HH.EXE", "-mapid", "10", "mk:@MSITStore:Z:\\a", "b.chm"}));
  EXPECT_EQ(ShellCommandLine("/p/keyhh.exe", "-win"), (V{"wine", "/p/keyhh.exe", "-win"}));
  EXPECT_EQ(ShellCommandLine("/usr/bin/xchm", "--contextid=10 /h.chm"),
            (V{"/usr/bin/xchm", "--contextid=10", "/h.chm"}));
  EXPECT_EQ(ShellCommandLine("/usr/bin/exe", ""), (V{"/usr/bin/exe"}));
}

} // namespace
} // namespace about
