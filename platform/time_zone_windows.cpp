#include "time_zone.h"

#include <windows.h>

namespace platform {

// Windows gives the bias as UTC minus local time, in minutes, split into the zone's bias and
// the part that standard or daylight-saving time adds.
double CurrentLocalTimeBias() {
  TIME_ZONE_INFORMATION zone{};
  switch (::GetTimeZoneInformation(&zone)) {
  case TIME_ZONE_ID_STANDARD:
    return -static_cast<double>(zone.Bias + zone.StandardBias) / 1440.0;
  case TIME_ZONE_ID_DAYLIGHT:
    return -static_cast<double>(zone.Bias + zone.DaylightBias) / 1440.0;
  default:
    // Also a zone without daylight saving, which the call reports as unknown.
    return 0;
  }
}

} // namespace platform
