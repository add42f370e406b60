// Finding the help viewer (desktop default, declared type, PATH), its package version, the
// Wine prefix's Windows folder, and starting programs.
#include "about/help_hook.h"
#include "about/hh.h"
#include "platform/desktop_handler.h"
#include "platform/installed_package.h"
#include "platform/shell.h"
#include "platform/wine_program.h"
#include "recording_help.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace about {
namespace {

void WriteProgram(const std::string& path, const std::string& body = "#!/bin/sh\nexit 0\n") {
  testenv::WriteFile(path, body);
  ::chmod(path.c_str(), 0755);
}

// A user with no applications, no mimeapps.list and an empty PATH of their own.
class ViewerUser {
public:
  ViewerUser()
      : data_home_("XDG_DATA_HOME", user_ / "data"), data_dirs_("XDG_DATA_DIRS", user_ / "share"),
        config_dirs_("XDG_CONFIG_DIRS", user_ / "etc"), path_("PATH", user_ / "bin") {
    std::filesystem::create_directories(user_ / "bin");
  }
  std::string operator/(const std::string& name) const { return user_ / name; }
  std::string config() const { return user_.config(); }

  void Desktop(const std::string& folder, const std::string& id, const std::string& exec,
               const std::string& types) {
    testenv::WriteFile(user_ / (folder + "/applications/" + id),
                       "[Desktop Entry]\nType=Application\nName=V\nExec=" + exec +
                           "\nMimeType=" + types + "\n");
  }

private:
  testenv::IsolatedUser user_;
  testenv::ScopedVariable data_home_, data_dirs_, config_dirs_, path_;
};

TEST(HelpViewer, NoneFoundGivesEmptyPathAndTheMenuWarns) {
  ViewerUser user;
  EXPECT_EQ(HtmlHelpControlPath(), "");
  testenv::TempFolder logs;
  testhelp::Recorder r;
  THHFuncs funcs = testhelp::RecordingFuncs(r, logs);
  ShowHelpContents("/opt/s/SalvoraExpress.chm", funcs);
  EXPECT_EQ(r.warnings, std::vector<std::string>{"Cannot load help file."});
  EXPECT_TRUE(r.shown.empty());
}

TEST(HelpViewer, ViewerOnPathOpensContextTen) {
  ViewerUser user;
  WriteProgram(user / "bin/kchmviewer");
  EXPECT_EQ(HtmlHelpControlPath(), user / "bin/kchmviewer");
  WriteProgram(user / "bin/xchm");
  EXPECT_EQ(HtmlHelpControlPath(), user / "bin/xchm"); // xchm first
  testenv::TempFolder logs;
  testhelp::Recorder r;
  THHFuncs funcs = testhelp::RecordingFuncs(r, logs);
  ShowHelpContents("/opt/s/SalvoraExpress.chm", funcs);
  EXPECT_TRUE(r.warnings.empty());
  ASSERT_EQ(r.shown.size(), 1u);
  EXPECT_EQ(r.shown[0], (std::pair<std::string, long>{"/opt/s/SalvoraExpress.chm", 10}));
}

TEST(HelpViewer, RegisteredViewerWhoseProgramIsGoneCountsAsNone) {
  ViewerUser user;
  user.Desktop("data", "gone.desktop", "/nowhere/gone %f", "application/vnd.ms-htmlhelp;");
  EXPECT_EQ(platform::DefaultDesktopEntry(kHtmlHelpContentType), "gone.desktop");
  EXPECT_EQ(HtmlHelpControlPath(), "");
}

TEST(HelpViewer, DesktopDefaultWinsOverDeclaredTypes) {
  ViewerUser user;
  WriteProgram(user / "bin/aviewer");
  WriteProgram(user / "bin/myviewer");
  user.Desktop("share", "aviewer.desktop", "aviewer %f", "application/vnd.ms-htmlhelp;");
  user.Desktop("data", "my.desktop", "\"" + (user / "bin/myviewer") + "\" --open %f",
               "text/plain;");
  EXPECT_EQ(HtmlHelpControlPath(), user / "bin/aviewer"); // declared, nothing chosen
  testenv::WriteFile(
      user.config() + "/mimeapps.list",
      "[Added Associations]\napplication/vnd.ms-htmlhelp=aviewer.desktop;\n"
      "[Default Applications]\napplication/vnd.ms-htmlhelp=missing.desktop;my.desktop;\n");
  EXPECT_EQ(platform::DefaultDesktopEntry(kHtmlHelpContentType), "my.desktop");
  EXPECT_EQ(HtmlHelpControlPath(), user / "bin/myviewer");
}

TEST(HelpViewer, ArgumentsAndHelpFileOfPath) {
  using V = std::vector<std::string>;
  EXPECT_EQ(ViewerArguments("/usr/bin/xchm", "/h.chm", 10), (V{"--contextid=10", "/h.chm"}));
  EXPECT_EQ(ViewerArguments("/usr/bin/kchmviewer", "/h.chm", 10), (V{"/h.chm"}));
  EXPECT_EQ(HelpFileOfPath("mk:@MSITStore:/a b/h.chm::/x.htm>main"), "/a b/h.chm");
  EXPECT_EQ(HelpFileOfPath("ms-its:/h.chm"), "/h.chm");
  EXPECT_EQ(HelpFileOfPath("/h.chm>w"), "/h.chm");
  EXPECT_EQ(HelpFileOfPath("/h.chm"), "/h.chm");
}

TEST(HelpViewer, HtmlHelpStartsAndClosesTheViewer) {
  ViewerUser user;
  // A viewer that stays open until it is closed.
  WriteProgram(user / "bin/xchm", "#!/bin/sh\nexec /bin/sleep 600\n");
  UnloadHtmlHelp();
  EXPECT_FALSE(HtmlHelp("/h.chm", HH_HELP_CONTEXT, 10)); // nothing loaded
  ASSERT_TRUE(LoadHtmlHelp());
  EXPECT_EQ(LoadedHtmlHelpPath(), user / "bin/xchm");
  EXPECT_TRUE(HtmlHelp("mk:@MSITStore:/opt/h.chm>main", HH_HELP_CONTEXT, 20));
  UnloadHtmlHelp(); // closes it
  EXPECT_FALSE(HtmlHelpLoaded());
}

TEST(InstalledPackage, VersionOfTheOwningPackage) {
  testenv::TempFolder dpkg;
  testenv::WriteFile(dpkg / "info/xchm.list", "/.\n/usr\n/usr/bin\n/usr/bin/xchm\n");
  testenv::WriteFile(dpkg / "info/xchm-extra.list", "/usr/bin/xchm\n");
  testenv::WriteFile(dpkg / "status", "Package: other\nStatus: install ok installed\nVersion: 9\n\n"
                                      "Package: xchm\nStatus: install ok installed\n"
                                      "Architecture: amd64\nVersion: 2:1.35-1\n");
  EXPECT_EQ(platform::OwningPackageVersion("/usr/bin/xchm", dpkg.path()), "2:1.35-1");
  EXPECT_EQ(platform::OwningPackageVersion("/usr/bin/other", dpkg.path()), "");
  testenv::WriteFile(dpkg / "info/kchmviewer:amd64.list", "/usr/bin/kchmviewer\n");
  EXPECT_EQ(platform::OwningPackageVersion("/usr/bin/kchmviewer", dpkg.path()), "");
}

TEST(InstalledPackage, FourNumberVersion) {
  const std::pair<const char*, const char*> cases[] = {
      {"2:1.35-1", "1.35.0.0"},
      {"7.7-1+b1", "7.7.0.0"},
      {"1.2.3.4.5", "1.2.3.4"},
      {"3.2.2+dfsg-20", "3.2.2.0"},
      {"1.0~rc1-2", "1.0.0.0"},
      {"99999.1", "65535.1.0.0"},
      {"abc", ""},
      {"", ""},
  };
  for (const auto& [debian, four] : cases)
    EXPECT_EQ(platform::FourNumberVersion(debian), four) << debian;
}

TEST(WineFolders, WindowsProgramsAreFoundWithoutRegardToCase) {
  testenv::IsolatedUser user;
  EXPECT_EQ(platform::WineWindowsFolder(), "");
  std::filesystem::create_directories(user.prefix() + "/drive_c/Windows/System32");
  std::filesystem::create_directories(user.prefix() + "/dosdevices");
  std::filesystem::create_directory_symlink("../drive_c", user.prefix() + "/dosdevices/c:");
  testenv::WriteFile(user.prefix() + "/drive_c/Windows/hh.exe", "MZ");
  const std::string windows = user.prefix() + "/dosdevices/c:/Windows";
  EXPECT_EQ(platform::WineWindowsFolder(), windows);
  EXPECT_EQ(platform::WineSystemFolder(), windows + "/System32");
  EXPECT_EQ(platform::FindFileIgnoringCase(windows, "HH.EXE"), windows + "/hh.exe");
  EXPECT_EQ(platform::FindFileIgnoringCase(windows, "KeyHH.EXE"), "");
  EXPECT_EQ(platform::FindFileIgnoringCase("", "HH.EXE"), "");
}

TEST(WineFolders, WindowsNamesOfLocalPaths) {
  EXPECT_EQ(platform::ToWineWindowsPath("/opt/a b/h.chm"), "Z:\\opt\\a b\\h.chm");
  EXPECT_EQ(platform::ToWineWindowsPath("C:\\x"), "C:\\x");
  EXPECT_EQ(platform::ToWineWindowsPath(""), "");
}

TEST(Shell, StartFailuresCarryWindowsErrorCodes) {
  ViewerUser user;
  EXPECT_EQ(platform::StartDetached("no-such-program", {}).error, 2u);
  EXPECT_EQ(platform::StartDetached(user / "bin/none", {}).error, 2u);
  testenv::WriteFile(user / "bin/plain", "not executable");
  EXPECT_EQ(platform::StartDetached(user / "bin/plain", {}).error, 5u);
  WriteProgram(user / "bin/garbage", "\x01\x02\x03 not a program");
  const platform::StartResult garbage = platform::StartDetached(user / "bin/garbage", {});
  EXPECT_FALSE(garbage.started);
  EXPECT_EQ(garbage.error, 1151u);
  // No wine on this PATH: a Windows help program cannot start.
  const platform::StartResult exe = ShellStart(user / "HH.EXE", "-mapid 10 h.chm");
  EXPECT_FALSE(exe.started);
  EXPECT_EQ(ShellErrorText(exe.error), "[Error:2] File Not Found");
}

TEST(Shell, ProgramsStartWithTheirArguments) {
  ViewerUser user;
  WriteProgram(user / "bin/tool");
  const platform::StartResult detached = platform::StartDetached("tool", {"a b", "c"});
  EXPECT_TRUE(detached.started);
  EXPECT_EQ(detached.error, 0u);
  EXPECT_EQ(detached.process, 0);
  WriteProgram(user / "bin/waiter", "#!/bin/sh\nexec /bin/sleep 600\n");
  const platform::StartResult child = platform::StartChild("waiter", {});
  ASSERT_TRUE(child.started);
  EXPECT_GT(child.process, 0);
  EXPECT_TRUE(platform::ChildRunning(child.process));
  platform::EndChild(child.process);
  EXPECT_FALSE(platform::ChildRunning(child.process));
}

TEST(Shell, ErrnoToSystemError) {
  EXPECT_EQ(platform::SystemErrorFromErrno(ENOENT), 2u);
  EXPECT_EQ(platform::SystemErrorFromErrno(ENOTDIR), 3u);
  EXPECT_EQ(platform::SystemErrorFromErrno(EACCES), 5u);
  EXPECT_EQ(platform::SystemErrorFromErrno(ENOMEM), 8u);
  EXPECT_EQ(platform::SystemErrorFromErrno(EROFS), 19u);
  EXPECT_EQ(platform::SystemErrorFromErrno(ETXTBSY), 32u);
  EXPECT_EQ(platform::SystemErrorFromErrno(ENOSPC), 112u);
  EXPECT_EQ(platform::SystemErrorFromErrno(ENOEXEC), 1151u);
  EXPECT_EQ(platform::SystemErrorFromErrno(EINVAL), 31u);
}

} // namespace
} // namespace about
