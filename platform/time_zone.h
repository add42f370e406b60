// The local time's offset from UTC, for turning the dates of messages into local time.
#pragma once

namespace platform {

// The offset at this moment, in days, positive east of Greenwich (local time minus UTC); 0
// when the system knows neither a standard nor a daylight-saving state for the zone.
double CurrentLocalTimeBias();

} // namespace platform
