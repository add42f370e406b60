// THHFuncs: the help calls that log, warn and start programs.
#include "about/hh_funcs.h"
#include "platform/wine_program.h"

#include <cstdio>
#include <utility>

namespace about {
namespace {

// printf-style formatting for the log's fixed line patterns.
template <typename... Values> std::string Format(const char* pattern, Values... values) {
  const int size = std::snprintf(nullptr, 0, pattern, values...);
  if (size <= 0)
    return {};
  std::string text(static_cast<std::size_t>(size) + 1, '\0');
  std::snprintf(text.data(), text.size(), pattern, values...);
  text.pop_back();
  return text;
}

} // namespace

THHFuncs::THHFuncs(HelpState state, HelpServices services, THelpLog log)
    : state_(std::move(state)), services_(std::move(services)), log_(std::move(log)) {}

void THHFuncs::HelpLog(const std::string& line) {
  if (state_.help_debug)
    log_.Write(line);
}

void THHFuncs::StartLog(const std::string& now_text) {
  log_.Remove();
  if (!state_.help_debug)
    return;
  for (const std::string& line : LogHeaderLines(state_, log_.Path(), now_text))
    HelpLog(line);
}

int THHFuncs::HHHelpContext(const std::string& help_file, long context,
                            const std::string& window_name, THelpHost host) {
  HelpLog(Format("HHHelpContext(\"%s\", %ld, \"%s\", %d)", help_file.c_str(), context,
                 window_name.c_str(), static_cast<int>(host)));
  const std::string_view prefix = host == HostHHExe ? "mk:@MSITStore:" : "";
  // The Windows help programs run under Wine and need the file as Windows names it.
  const std::string file = host == HostApi ? help_file : platform::ToWineWindowsPath(help_file);
  return ShowContext(MakeHelpPath(file, {}, window_name, prefix), context, host);
}

int THHFuncs::ShowContext(const std::string& path, long context, THelpHost host) {
  HelpLog(Format("ShowContext(\"%s\", %ld)", path.c_str(), context));
  int result = 0;
  if (!state_.hh_installed) {
    result = 1;
  } else if (host == HostApi) {
    if (services_.show_context)
      services_.show_context(path, context);
  } else {
    const bool keyhh = host == HostKeyHH;
    const std::string program = services_.windows_program
                                    ? services_.windows_program(keyhh ? "KeyHH.EXE" : "HH.EXE")
                                    : std::string();
    if (program.empty()) {
      result = keyhh ? 2 : 3;
    } else {
      ShellRun(program,
               (keyhh ? "-win -#mapid " : "-mapid ") + std::to_string(context) + " " + path);
    }
  }
  HelpLog(Format("  returned - %d", result));
  return result;
}

void THHFuncs::HHShowError(int code) {
  if (code == 0)
    return;
  const std::string text = HHErrorText(code);
  if (services_.warn)
    services_.warn(text);
  HelpLog(Format("HHShowError(%d), \"%s\"", code, text.c_str()));
}

bool THHFuncs::ShellRun(const std::string& program, const std::string& parameters) {
  const platform::StartResult result = services_.shell_run
                                           ? services_.shell_run(program, parameters)
                                           : platform::StartResult{false, 2, 0};
  if (result.started)
    return true;
  const std::string text = "Function ShellExecute(" + program + ", " + parameters + ")" + '\r' +
                           "Returned: " + ShellErrorText(result.error);
  if (services_.warn)
    services_.warn(text);
  HelpLog(text);
  return false;
}

} // namespace about
