#include "message_time.h"

#include "date_text.h"
#include "mime/mail_date.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace app {
namespace {

constexpr double kDaysFrom1899To1970 = 25569;
constexpr std::int64_t kSecondsPerDay = 86400;

} // namespace

std::optional<std::int64_t> MessageUnixTime(double date_value) {
  if (date_value == 0 || !std::isfinite(date_value))
    return std::nullopt;
  // The value is UTC shifted by the local offset the parser added; take the same one off.
  const double utc_days = date_value - mime::LocalTimeBias();
  return std::llround((utc_days - kDaysFrom1899To1970) * kSecondsPerDay);
}

std::string MboxDate(std::int64_t unix_seconds) {
  static constexpr const char* kWeekdays[] = {"Thu", "Fri", "Sat", "Sun", "Mon", "Tue", "Wed"};
  static constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                            "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::int64_t days = unix_seconds / kSecondsPerDay;
  if (unix_seconds % kSecondsPerDay < 0)
    --days;
  const std::int64_t second_of_day = unix_seconds - days * kSecondsPerDay;
  // A whole number of days decodes to the date alone, also before 1899.
  const DateTimeParts date = DecodeDateTime(static_cast<double>(days) + kDaysFrom1899To1970);
  char text[64];
  std::snprintf(text, sizeof text, "%s %s %2d %02d:%02d:%02d %d", kWeekdays[(days % 7 + 7) % 7],
                kMonths[date.month - 1], date.day, static_cast<int>(second_of_day / 3600),
                static_cast<int>(second_of_day / 60 % 60), static_cast<int>(second_of_day % 60),
                date.year);
  return text;
}

std::int64_t UnixTimeNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

} // namespace app
