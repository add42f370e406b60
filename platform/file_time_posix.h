// What the POSIX sources share to set a file's modification time.
#pragma once

#include <cstdint>
#include <sys/stat.h>

namespace platform {

// The times utimensat and futimens take to set the modification time alone; false when the
// seconds do not fit the system's time_t.
bool ModificationOnlyTimes(std::int64_t unix_seconds, timespec (&times)[2]);

} // namespace platform
