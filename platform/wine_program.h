// Windows programs of the Wine prefix: the Windows and system folders, and the names
// Windows programs give local files.
#pragma once

#include <string>

namespace platform {

// The prefix's C:\windows and C:\windows\system32 as local folders without a trailing
// separator; empty when the prefix has no such folder.
std::string WineWindowsFolder();
std::string WineSystemFolder();

// The file `name` of `folder`, its name matched without regard to letter case as Windows
// would; empty when there is none.
std::string FindFileIgnoringCase(const std::string& folder, const std::string& name);

// A local absolute path as Windows programs under Wine name it (Z: is the root folder).
std::string ToWineWindowsPath(const std::string& path);

} // namespace platform
