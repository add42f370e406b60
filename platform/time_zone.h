// The local time's offset from UTC, for turning the dates of messages into local time.
#pragma once

namespace platform {

// The offset at this moment, in days, positive east of Greenwich (local time minus UTC), in
// every zone, with or without daylight saving; 0 when the system cannot tell.
double CurrentLocalTimeBias();

} // namespace platform
