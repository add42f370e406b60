#include "file_time.h"

#include <windows.h>

namespace platform {
namespace {

// FILETIME counts 100-nanosecond intervals from 1 January 1601 (UTC).
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600;
constexpr std::int64_t kIntervalsPerSecond = 10000000;

} // namespace

bool SetFileModificationTime(const std::string& path, std::int64_t unix_seconds) {
  // Before 1601 there is no FILETIME; far beyond 9999 the count would overflow.
  if (unix_seconds < -kSecondsFrom1601To1970 || unix_seconds > 253402300799)
    return false;
  const auto intervals =
      static_cast<std::uint64_t>((unix_seconds + kSecondsFrom1601To1970) * kIntervalsPerSecond);
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(intervals);
  time.dwHighDateTime = static_cast<DWORD>(intervals >> 32);
  HANDLE handle = ::CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE)
    return false;
  const bool set = ::SetFileTime(handle, nullptr, nullptr, &time) != 0;
  return ::CloseHandle(handle) && set;
}

bool GetFileModificationTime(const std::string& path, std::int64_t& unix_seconds) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
    return false;
  const std::uint64_t intervals = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                  data.ftLastWriteTime.dwLowDateTime;
  unix_seconds =
      static_cast<std::int64_t>(intervals / kIntervalsPerSecond) - kSecondsFrom1601To1970;
  return true;
}

} // namespace platform
