// The desktop's default application for a content type, as the freedesktop.org rules
// give it: mimeapps.list files first, then the applications that declare the type.
#pragma once

#include <string>

namespace platform {

// The desktop entry id ("xchm.desktop") that opens `content_type` by default; "" when no
// installed entry does.
std::string DefaultDesktopEntry(const std::string& content_type);

// The program that a desktop entry runs (its Exec line's first word), found on PATH; "" when
// the entry or the program is missing.
std::string DesktopEntryProgram(const std::string& desktop_id);

} // namespace platform
