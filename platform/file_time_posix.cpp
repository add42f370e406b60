#include "file_time_posix.h"

#include "file_time.h"

#include <fcntl.h>
#include <limits>
#include <sys/stat.h>

namespace platform {

bool ModificationOnlyTimes(std::int64_t unix_seconds, timespec (&times)[2]) {
  if (unix_seconds < std::numeric_limits<time_t>::min() ||
      unix_seconds > std::numeric_limits<time_t>::max())
    return false;
  times[0] = {};
  times[0].tv_nsec = UTIME_OMIT; // access time
  times[1] = {};
  times[1].tv_sec = static_cast<time_t>(unix_seconds);
  return true;
}

bool SetFileModificationTime(const std::string& path, std::int64_t unix_seconds) {
  timespec times[2];
  return ModificationOnlyTimes(unix_seconds, times) &&
         ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW) == 0;
}

bool GetFileModificationTime(const std::string& path, std::int64_t& unix_seconds) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0)
    return false;
  unix_seconds = info.st_mtim.tv_sec;
  return true;
}

} // namespace platform
