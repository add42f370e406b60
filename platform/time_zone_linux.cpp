#include "time_zone.h"

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace platform {
namespace {

double AskTheCLibrary(std::time_t now) {
  ::tzset(); // TZ as it is now
  std::tm local{};
  // tm_isdst < 0: the C library does not know whether daylight saving is in force.
  if (::localtime_r(&now, &local) == nullptr || local.tm_isdst < 0)
    return 0;
  return static_cast<double>(local.tm_gmtoff) / 86400.0;
}

} // namespace

double CurrentLocalTimeBias() {
  // A scan asks once per message, on several threads, and asking the C library looks at
  // /etc/localtime and takes the library's lock each time. So each thread keeps the answer
  // for the rest of the second, as long as TZ stays as it is.
  struct Answer {
    std::time_t second = -1;
    std::optional<std::string> tz;
    double bias = 0;
  };
  thread_local Answer answer;
  const std::time_t now = std::time(nullptr);
  const char* tz = std::getenv("TZ");
  const bool same_tz = tz ? answer.tz == tz : !answer.tz; // compared without a copy
  if (answer.second != now || !same_tz) {
    answer.second = now;
    answer.tz = tz ? std::optional<std::string>(tz) : std::nullopt;
    answer.bias = AskTheCLibrary(now);
  }
  return answer.bias;
}

} // namespace platform
