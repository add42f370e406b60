#include "time_zone.h"

#include <ctime>

namespace platform {

double CurrentLocalTimeBias() {
  ::tzset(); // TZ as it is now
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  // tm_isdst < 0: the C library does not know whether daylight saving is in force.
  if (::localtime_r(&now, &local) == nullptr || local.tm_isdst < 0)
    return 0;
  return static_cast<double>(local.tm_gmtoff) / 86400.0;
}

} // namespace platform
