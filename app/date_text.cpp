#include "date_text.h"

#include <cmath>
#include <cstdio>

namespace app {
namespace {

// Days since 1 January 1970 to a civil date (proleptic Gregorian calendar).
void CivilFromDays(long long days, int& year, int& month, int& day) {
  days += 719468;
  long long era = (days >= 0 ? days : days - 146096) / 146097;
  long long day_of_era = days - era * 146097;
  long long year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  long long day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  long long mp = (5 * day_of_year + 2) / 153;
  day = static_cast<int>(day_of_year - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0));
}

constexpr long long kDaysFrom1899To1970 = 25569;

} // namespace

DateTimeParts DecodeDateTime(double value) {
  DateTimeParts parts;
  if (!std::isfinite(value) || std::fabs(value) > 3e6)
    return parts; // beyond any calendar the parser produces
  // Before 1899 the whole days count backwards while the fraction is still the time of day.
  double whole = std::trunc(value);
  double fraction = std::fabs(value - whole);
  CivilFromDays(static_cast<long long>(whole) - kDaysFrom1899To1970, parts.year, parts.month,
                parts.day);
  // To the millisecond first, so 10:20:30 stored as 10:20:29.9999999 reads as 10:20:30.
  long long seconds = std::llround(fraction * 86400000.0) / 1000;
  if (seconds >= 86400)
    seconds = 86399;
  parts.hour = static_cast<int>(seconds / 3600);
  parts.minute = static_cast<int>(seconds / 60 % 60);
  parts.second = static_cast<int>(seconds % 60);
  return parts;
}

std::string IsoDateText(double value) {
  DateTimeParts parts = DecodeDateTime(value);
  char text[40];
  if (parts.hour == 0 && parts.minute == 0 && parts.second == 0)
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", parts.year, parts.month, parts.day);
  else
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", parts.year, parts.month,
                  parts.day, parts.hour, parts.minute, parts.second);
  return text;
}

} // namespace app
