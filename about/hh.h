// The compiled-help viewer: found once at start-up, kept for the program's life, and asked
// to show a help file at a context number. On this system the viewer is a program (xchm,
// kchmviewer) rather than a library, so "loading" it means knowing where it is.
#pragma once

#include <string>
#include <vector>

namespace about {

inline constexpr unsigned HH_HELP_CONTEXT = 15;
inline constexpr unsigned HH_CLOSE_ALL = 18;

// The content type of compiled HTML Help files.
inline constexpr char kHtmlHelpContentType[] = "application/vnd.ms-htmlhelp";

// The viewer's program: the desktop's default application for compiled help, else xchm or
// kchmviewer on PATH; "" when there is none.
std::string HtmlHelpControlPath();

// Takes the viewer when none is loaded yet; true when one is loaded afterwards.
bool LoadHtmlHelp();
// Closes the help windows this program opened and forgets the viewer.
void UnloadHtmlHelp();
bool HtmlHelpLoaded();
const std::string& LoadedHtmlHelpPath();

// HH_HELP_CONTEXT opens `path` (a help file, optionally "prefix:file::/topic>window") at the
// context number `data`; HH_CLOSE_ALL closes the help windows opened so far. True when a
// help window was started. Without a loaded viewer nothing happens.
bool HtmlHelp(const std::string& path, unsigned command, unsigned long data);

// The help file named by a path as HTML Help takes it: without "mk:@MSITStore:" or
// "ms-its:", "::/topic" and ">window".
std::string HelpFileOfPath(const std::string& path);

// The viewer's command line after its program: xchm is told the context number, other
// viewers open the file at its start.
std::vector<std::string> ViewerArguments(const std::string& viewer, const std::string& file,
                                         unsigned long context);

} // namespace about
