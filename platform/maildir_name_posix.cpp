#include "maildir_name.h"

#include <atomic>
#include <cstdio>
#include <sys/time.h>
#include <unistd.h>

namespace platform {

const char kMaildirInfo[] = ":2,";

std::string NewMaildirName() {
  static std::atomic<unsigned long> count{0};
  timeval now{};
  ::gettimeofday(&now, nullptr);
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0 || host[0] == '\0')
    std::snprintf(host, sizeof host, "localhost");
  // "/" and ":" would break the name; Maildir writes them as octal escapes.
  std::string safe_host;
  for (const char* c = host; *c; ++c)
    safe_host += *c == '/' ? "\\057" : *c == ':' ? "\\072" : std::string(1, *c);
  return std::to_string(now.tv_sec) + ".M" + std::to_string(now.tv_usec) + "P" +
         std::to_string(::getpid()) + "Q" + std::to_string(++count) + "." + safe_host;
}

} // namespace platform
