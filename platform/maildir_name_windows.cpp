#include "maildir_name.h"

#include <atomic>
#include <windows.h>

namespace platform {

const char kMaildirInfo[] = "!2,";

std::string NewMaildirName() {
  static std::atomic<unsigned long> count{0};
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  // 100-nanosecond intervals since 1601 to seconds and microseconds since 1970.
  const unsigned long long intervals =
      ((static_cast<unsigned long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime) -
      116444736000000000ull;
  char host[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof host;
  if (!::GetComputerNameA(host, &size) || host[0] == '\0')
    lstrcpyA(host, "localhost");
  return std::to_string(intervals / 10000000) + ".M" + std::to_string(intervals % 10000000 / 10) +
         "P" + std::to_string(::GetCurrentProcessId()) + "Q" + std::to_string(++count) + "." + host;
}

} // namespace platform
