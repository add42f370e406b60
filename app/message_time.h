// The moment a message was written, for the times of saved files and the separator lines of
// an mbox.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace app {

// The moment a row's date-time value (local time, as the Date column holds it) names, in
// seconds since 1 January 1970 UTC; nothing when the message's date did not parse (0).
std::optional<std::int64_t> MessageUnixTime(double date_value);

// The moment as an mbox "From " line gives it, in UTC: "Mon Mar  3 08:14:27 2003".
std::string MboxDate(std::int64_t unix_seconds);

// Now, in seconds since 1 January 1970 UTC.
std::int64_t UnixTimeNow();

} // namespace app
