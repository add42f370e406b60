// Turns a path as Windows programs record it into one this system can open.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// On Windows the path is returned unchanged. Elsewhere a drive path ("C:\users\...") names a
// folder of the Wine prefix: the drive maps to <prefix>/dosdevices/<letter>:, and every further
// component is matched without regard to letter case against what exists, as Windows would;
// components that match nothing are kept as written. Other paths are returned unchanged.
std::string ToNativePath(std::string_view path);

} // namespace platform
