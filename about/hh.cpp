#include "about/hh.h"

#include "platform/desktop_handler.h"
#include "platform/shell.h"
#include "text/ascii.h"

#include <filesystem>
#include <string_view>

namespace about {
namespace {

struct LoadedViewer {
  std::string path;
  std::vector<long> windows; // viewer processes started by this program
};

LoadedViewer& Viewer() {
  static LoadedViewer viewer;
  return viewer;
}

} // namespace

std::string HtmlHelpControlPath() {
  if (std::string program =
          platform::DesktopEntryProgram(platform::DefaultDesktopEntry(kHtmlHelpContentType));
      !program.empty())
    return program;
  for (const char* name : {"xchm", "kchmviewer"})
    if (std::string program = platform::FindProgram(name); !program.empty())
      return program;
  return {};
}

bool LoadHtmlHelp() {
  if (Viewer().path.empty())
    Viewer().path = HtmlHelpControlPath();
  return HtmlHelpLoaded();
}

void UnloadHtmlHelp() {
  HtmlHelp({}, HH_CLOSE_ALL, 0);
  Viewer().path.clear();
}

bool HtmlHelpLoaded() {
  return !Viewer().path.empty();
}

const std::string& LoadedHtmlHelpPath() {
  return Viewer().path;
}

std::string HelpFileOfPath(const std::string& path) {
  std::string file = path;
  for (const std::string_view prefix : {"mk:@MSITStore:", "ms-its:"})
    if (text::StartsWithIgnoringAsciiCase(file, prefix))
      file.erase(0, prefix.size());
  if (const std::size_t topic = file.find("::"); topic != std::string::npos)
    file.erase(topic);
  if (const std::size_t window = file.rfind('>'); window != std::string::npos)
    file.erase(window);
  return file;
}

std::vector<std::string> ViewerArguments(const std::string& viewer, const std::string& file,
                                         unsigned long context) {
  if (std::filesystem::path(viewer).filename() == "xchm")
    return {"--contextid=" + std::to_string(context), file};
  return {file};
}

bool HtmlHelp(const std::string& path, unsigned command, unsigned long data) {
  LoadedViewer& viewer = Viewer();
  if (viewer.path.empty())
    return false;
  std::erase_if(viewer.windows, [](long process) { return !platform::ChildRunning(process); });
  if (command == HH_CLOSE_ALL) {
    for (const long process : viewer.windows)
      platform::EndChild(process);
    viewer.windows.clear();
    return false;
  }
  if (command != HH_HELP_CONTEXT)
    return false;
  const platform::StartResult started =
      platform::StartChild(viewer.path, ViewerArguments(viewer.path, HelpFileOfPath(path), data));
  if (started.started)
    viewer.windows.push_back(started.process);
  return started.started;
}

} // namespace about
