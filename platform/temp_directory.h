// The folder for working copies of the user's mail.
#pragma once

#include <string>

namespace platform {

// The user's temporary folder, ending with a separator.
//
// The system temporary folder ($TMPDIR or /tmp) is shared by every user, so the copies go
// into a folder of this user's own inside it, "salvora-<uid>", created with mode 0700. A
// folder of that name that is a link, belongs to someone else or cannot be made private is
// refused, and a fresh private folder is made instead. Throws
// std::runtime_error("Cannot create file <folder>") when no private folder can be made.
std::string GetTempDirectory();

} // namespace platform
