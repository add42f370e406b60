// Help requests routed to the compiled help: the path rules, the three ways of showing a
// context (the viewer itself, KeyHH.EXE or HH.EXE), the words for failures, the version
// probes and the diagnostic log HHDebug.txt.
#pragma once

#include "about/help_contexts.h"
#include "about/help_log.h"
#include "platform/shell.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace about {

enum THelpHost { HostApi = 0, HostKeyHH = 1, HostHHExe = 2 };

// Help command numbers as the application raises them.
inline constexpr unsigned HELP_CONTEXT = 1;
inline constexpr unsigned HELP_CONTEXTPOPUP = 8;
inline constexpr unsigned HELP_SETPOPUP_POS = 13;

// The help context the help menu opens.
inline constexpr long kHelpContentsContext = kHelpContents;

// ---- Texts and tables ----

// "file::/topic>window" behind a prefix; see the rules in the source.
std::string MakeHelpPath(std::string file, std::string topic, std::string window,
                         std::string_view prefix);
// "1 (HELP_CONTEXT)" for the log.
std::string CommandName(unsigned command);
// The warning HHShowError gives for a result code (never called with 0).
std::string HHErrorText(int code);
// "[Error:2] File Not Found".
std::string ShellErrorText(unsigned long system_error);
// Friendly names of the viewer and browser versions ("" for "").
std::string HHFriendlyVersion(const std::string& version);
std::string IEFriendlyVersion(const std::string& version);
// Old Internet Explorer 4 files give the build in the fourth number; it moves to the third.
std::string CorrectedIEVersion(const std::string& version);

// Whether a file can be created in `folder` (it is removed again).
bool DirWritable(const std::string& folder);
// "/debug" or "-debug" in any letter case among the arguments (the program's own name
// excluded).
bool DebugParameterGiven(const std::vector<std::string>& arguments);
// The four numbers of a file's version resource, else of its package; "" for an empty name,
// a missing file or one without a version.
std::string FileVersionOf(const std::string& file);

// ---- Program-wide state, set once at start-up ----

struct HelpState {
  std::string module_name; // _ModuleName
  std::string module_dir;  // _ModuleDir, no trailing separator
  std::string run_dir;     // _RunDir
  std::string exe_path;
  std::string help_log_dir; // HelpLogDir
  bool help_debug = false;  // HelpDebug
  std::string hh_ver_str, hh_friendly_ver_str;
  bool hh_installed = false;
  std::string ie_ver_str, ie_friendly_ver_str;
  bool ie_installed = false;
};

// What help needs from outside: boxes, the viewer and the shell. The program's own are
// SystemHelpServices(); tests give their own.
struct HelpServices {
  std::function<void(const std::string& text)> warn; // a warning box with an OK button
  // HtmlHelp(HH_HELP_CONTEXT): true when a help window came up.
  std::function<bool(const std::string& path, long context)> show_context;
  std::function<void()> close_all; // HtmlHelp(HH_CLOSE_ALL)
  // The program `name` in the Windows folder, or "".
  std::function<std::string(const std::string& name)> windows_program;
  // Starts a program through the shell's "open" verb with its command-line parameters.
  std::function<platform::StartResult(const std::string& program, const std::string& parameters)>
      shell_run;
};

// The shell's command-line parameters as separate arguments: split at blanks, with
// "quotes" grouping.
std::vector<std::string> SplitParameters(const std::string& parameters);
// The command that starts a program with its parameters: Windows programs (.exe) through
// wine.
std::vector<std::string> ShellCommandLine(const std::string& program,
                                          const std::string& parameters);
// Starts a program as the shell's "open" verb would, with ShellCommandLine.
platform::StartResult ShellStart(const std::string& program, const std::string& parameters);

// The state as the start-up computes it: module and log folders, the debug switch (marker
// file "debug.debug" beside the module, or the parameter), and the two version probes.
HelpState ComputeHelpState(const std::string& exe_path, const std::vector<std::string>& arguments,
                           const std::string& viewer_path, const std::string& system_folder);

// The log header's lines, as given to HelpLog.
std::vector<std::string> LogHeaderLines(const HelpState& state, const std::string& log_path,
                                        const std::string& now_text);

class THHFuncs {
public:
  THHFuncs(HelpState state, HelpServices services, THelpLog log);

  const HelpState& State() const { return state_; }
  THelpLog& Log() { return log_; }
  HelpServices& Services() { return services_; }

  // Every log line below goes through here; nothing is written while HelpDebug is off.
  void HelpLog(const std::string& line);
  // Removes an old HHDebug.txt and, with HelpDebug on, writes the header.
  void StartLog(const std::string& now_text);

  int HHHelpContext(const std::string& help_file, long context, const std::string& window_name,
                    THelpHost host);
  int ShowContext(const std::string& path, long context, THelpHost host);
  void HHShowError(int code);
  bool ShellRun(const std::string& program, const std::string& parameters);

private:
  HelpState state_;
  HelpServices services_;
  THelpLog log_;
};

// The program's instance: InitHelpFuncs computes it from the running program and its
// command line (call once before the first window); HelpFuncs() returns it.
void InitHelpFuncs(const std::vector<std::string>& arguments);
THHFuncs& HelpFuncs();

// The services of this system: Qt warning boxes, the loaded viewer, the Wine prefix's
// Windows folder and the shell.
HelpServices SystemHelpServices();

} // namespace about
