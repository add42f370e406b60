// Folders the program finds by itself: its own folder and the user's home folder.
#pragma once

#include <string>

namespace platform {

// The folder of the running executable, with a trailing separator.
std::string GetProgramFolder();

// The user's home (profile) folder, without a trailing separator.
std::string GetHomeFolder();

} // namespace platform
