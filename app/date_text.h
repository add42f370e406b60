// Date-time values (days since 30 December 1899, the fraction being the time of day) and the
// date texts of the result list.
#pragma once

#include <functional>
#include <string>

namespace app {

struct DateTimeParts {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0;
};

// The calendar date and the time of day to the second (fractions of a second dropped).
DateTimeParts DecodeDateTime(double value);

// How the scan writes a row's date: the window uses the user's formats.
using DateFormatter = std::function<std::string(double)>;

// "YYYY-MM-DD", followed by " HH:MM:SS" when the time of day is not zero; the zero value is
// "1899-12-30".
std::string IsoDateText(double value);

} // namespace app
