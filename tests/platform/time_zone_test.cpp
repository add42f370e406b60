#include "platform/time_zone.h"
#include "scoped_environment.h"

#include <gtest/gtest.h>

namespace {

// The bias is kept for the rest of a second; a changed TZ must still count at once.
TEST(TimeZone, AChangedZoneCountsAtOnce) {
  struct Zone {
    const char* tz;
    double hours;
  };
  const Zone zones[] = {
      {"UTC0", 0}, {"IST-5:30", 5.5}, {"MST7", -7}, {"UTC0", 0}, {"NPT-5:45", 5.75}};
  for (int round = 0; round < 2; ++round)
    for (const Zone& zone : zones) {
      testenv::ScopedVariable tz("TZ", zone.tz);
      EXPECT_DOUBLE_EQ(platform::CurrentLocalTimeBias() * 24, zone.hours) << zone.tz;
    }
}

} // namespace
