// The character that joins a folder and a name into a path: "/" on POSIX systems, "\" on
// Windows, where some programs and dialogs do not take "/".
#pragma once

namespace platform {

extern const char kPathSeparator;

} // namespace platform
