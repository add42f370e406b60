// Help functions whose boxes, viewer and shell only record what they are asked, with the
// log in a folder of the test's own and a fixed clock.
#pragma once

#include "about/hh_funcs.h"
#include "scoped_environment.h"

#include <string>
#include <vector>

namespace testhelp {

inline constexpr char kClock[] = "12:34:56";

struct Recorder {
  std::vector<std::string> warnings;
  std::vector<std::pair<std::string, long>> shown;
  std::vector<std::pair<std::string, std::string>> runs;
  int close_all = 0;
  std::string windows_folder_program; // what the Windows folder holds, or ""
  platform::StartResult run_result{true, 0, 0};
};

inline about::HelpServices RecordingServices(Recorder& r) {
  about::HelpServices s;
  s.warn = [&r](const std::string& text) { r.warnings.push_back(text); };
  s.show_context = [&r](const std::string& path, long context) {
    r.shown.emplace_back(path, context);
    return true;
  };
  s.close_all = [&r] { ++r.close_all; };
  s.windows_program = [&r](const std::string& name) {
    return r.windows_folder_program.empty() ? std::string() : r.windows_folder_program + name;
  };
  s.shell_run = [&r](const std::string& program, const std::string& parameters) {
    r.runs.emplace_back(program, parameters);
    return r.run_result;
  };
  return s;
}

inline about::THHFuncs RecordingFuncs(Recorder& r, const testenv::TempFolder& log_folder,
                                      bool installed = true, bool debug = true) {
  about::HelpState state;
  state.hh_installed = installed;
  state.help_debug = debug;
  state.help_log_dir = log_folder.path();
  return about::THHFuncs(state, RecordingServices(r), about::THelpLog(log_folder.path(), debug, [] {
                           return std::string(kClock);
                         }));
}

inline std::vector<std::string> LogLines(const testenv::TempFolder& log_folder) {
  const std::string text = testenv::ReadFile(log_folder / "HHDebug.txt");
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    start = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

inline std::string Timed(const std::string& line) {
  return std::string(kClock) + "   " + line;
}

} // namespace testhelp
