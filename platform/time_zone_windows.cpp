#include "time_zone.h"

#include <windows.h>

namespace platform {

// Windows gives the bias as UTC minus local time, in minutes, split into the zone's bias and
// the part that standard or daylight-saving time adds. A zone without daylight saving (or
// with its adjustment switched off) is reported as "unknown" and keeps standard time all
// year; its daylight-saving fields hold nothing meaningful.
double CurrentLocalTimeBias() {
  TIME_ZONE_INFORMATION zone{};
  switch (::GetTimeZoneInformation(&zone)) {
  case TIME_ZONE_ID_STANDARD:
  case TIME_ZONE_ID_UNKNOWN:
    return -static_cast<double>(zone.Bias + zone.StandardBias) / 1440.0;
  case TIME_ZONE_ID_DAYLIGHT:
    return -static_cast<double>(zone.Bias + zone.DaylightBias) / 1440.0;
  default: // TIME_ZONE_ID_INVALID: the call failed
    return 0;
  }
}

} // namespace platform
