// The help functions' services on this system.
#include "about/hh.h"
#include "about/hh_funcs.h"
#include "platform/wine_program.h"
#include "text/ascii.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QWidget>

namespace about {
namespace {

// A message box shows a carriage return as the line break it is on Windows.
void WarningBox(const std::string& text) {
  QWidget* owner = QApplication::activeWindow();
  QString shown = QString::fromStdString(text);
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  QMessageBox::warning(owner, QStringLiteral("Warning"), shown, QMessageBox::Ok);
}

} // namespace

std::vector<std::string> SplitParameters(const std::string& parameters) {
  std::vector<std::string> arguments;
  std::string current;
  bool quoted = false;
  bool started = false;
  for (const char c : parameters) {
    if (c == '"') {
      quoted = !quoted;
      started = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (started)
        arguments.push_back(std::move(current));
      current.clear();
      started = false;
    } else {
      current.push_back(c);
      started = true;
    }
  }
  if (started)
    arguments.push_back(std::move(current));
  return arguments;
}

std::vector<std::string> ShellCommandLine(const std::string& program,
                                          const std::string& parameters) {
  std::vector<std::string> command{program};
  // Windows help programs run under Wine, which joins the arguments back into one line.
  if (text::EndsWithIgnoringAsciiCase(program, ".exe"))
    command.insert(command.begin(), "wine");
  for (std::string& argument : SplitParameters(parameters))
    command.push_back(std::move(argument));
  return command;
}

platform::StartResult ShellStart(const std::string& program, const std::string& parameters) {
  std::vector<std::string> command = ShellCommandLine(program, parameters);
  const std::string start = command.front();
  command.erase(command.begin());
  return platform::StartDetached(start, command);
}

HelpServices SystemHelpServices() {
  HelpServices services;
  services.warn = WarningBox;
  services.show_context = [](const std::string& path, long context) {
    return HtmlHelp(path, HH_HELP_CONTEXT, static_cast<unsigned long>(context));
  };
  services.close_all = [] { HtmlHelp({}, HH_CLOSE_ALL, 0); };
  services.windows_program = [](const std::string& name) {
    return platform::FindFileIgnoringCase(platform::WineWindowsFolder(), name);
  };
  services.shell_run = ShellStart;
  return services;
}

} // namespace about
