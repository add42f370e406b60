// How the system names files: the character that joins a folder and a name into a path, and
// which names the user does not see.
#pragma once

namespace platform {

// "/" on POSIX systems, "\" on Windows, where some programs and dialogs do not take "/".
extern const char kPathSeparator;

// Whether a name that starts with "." is hidden from the user: on POSIX systems, not on
// Windows.
extern const bool kLeadingDotHides;

} // namespace platform
