// Date fields to date-time values: days since 30 December 1899 in local time, the fraction
// being the time of day.
#pragma once

#include <string_view>

namespace mime {

// 0 when the field is empty or gives no valid date. Named zones count as UTC.
double MailDateToDateTime(std::string_view value);

// The current offset of local time from UTC, in days (east of Greenwich is positive).
double LocalTimeBias();

// Where LocalTimeBias gets the offset from. The default asks the C library for the current
// local time; passing nullptr restores it. Tests install a fixed offset.
using LocalTimeBiasSource = double (*)();
void SetLocalTimeBiasSource(LocalTimeBiasSource source);

// The date-time value of a calendar date, or nothing when the date does not exist.
bool TryEncodeDate(int year, int month, int day, double& result);

} // namespace mime
