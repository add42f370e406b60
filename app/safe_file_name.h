// File names made from names that come from outside: attachment names in a message, folder
// names in a folder database. Whatever the name, the file lands inside the chosen folder and
// every file system takes its name.
#pragma once

#include <string>
#include <string_view>

namespace app {

// Only the last part of a path counts ("../../x" gives "x"). Control characters and the
// characters Windows forbids (< > : " / \ | ? *) become "_"; leading dots and blanks and
// trailing dots and blanks go; a Windows device name (CON, PRN, AUX, NUL, COM1 to COM9,
// LPT1 to LPT9, with or without an extension, in any case) gets a "_" in front; a name
// longer than 150 bytes is cut before its extension, never inside a UTF-8 character. When
// nothing is left, `fallback`.
std::string SafeFileName(std::string_view name, std::string_view fallback);

// `folder` + separator + the name with "_n" before its extension for n of 1 or more:
// "report.pdf", "report_1.pdf", ...
std::string NumberedPath(const std::string& folder, std::string_view name, int n);

} // namespace app
