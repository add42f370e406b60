// File times: saved messages carry the date of the message they hold.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// Sets the file's modification time to `unix_seconds` (seconds since 1 January 1970, UTC),
// leaving its other times alone. False when the system or the file system refuses it (a
// date a FAT volume cannot hold, say); the file keeps the time it had.
bool SetFileModificationTime(const std::string& path, std::int64_t unix_seconds);

// The file's modification time in seconds since 1970 (UTC); false when it cannot be read.
bool GetFileModificationTime(const std::string& path, std::int64_t& unix_seconds);

} // namespace platform
