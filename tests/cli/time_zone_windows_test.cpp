// Dates in zones without daylight saving, which Windows reports as "unknown": the offset the
// program takes and the dates salvora.exe shows. Wine takes its zone from TZ, so CTest runs
// this program once in each zone of the table; on a real Windows the zone comes from the
// system's settings and the test skips.
#include "platform/time_zone.h"
#include "scoped_environment.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <windows.h>

namespace {

bool UnderWine() {
  const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

struct Zone {
  const char* tz;
  int minutes_east;
  const char* quarterly_figures_date; // sent at 2003-03-03 08:14:27 UTC
};

// Both without daylight saving: one east of Greenwich by a half hour, one west.
constexpr Zone kZones[] = {{"Asia/Kolkata", 330, "2003-03-03 13:44:27"},
                           {"America/Phoenix", -420, "2003-03-03 01:14:27"}};

const Zone* ZoneOfThisRun() {
  const char* tz = std::getenv("TZ");
  for (const Zone& zone : kZones)
    if (tz != nullptr && std::strcmp(tz, zone.tz) == 0)
      return &zone;
  return nullptr;
}

TEST(WindowsTimeZone, AZoneWithoutDaylightSavingShowsDatesInItsOwnTime) {
  if (!UnderWine())
    GTEST_SKIP() << "Windows takes its zone from its settings, not from TZ";
  const Zone* zone = ZoneOfThisRun();
  if (zone == nullptr)
    GTEST_SKIP() << "CTest runs this with TZ naming a zone of the table";
  TIME_ZONE_INFORMATION info{};
  ASSERT_EQ(::GetTimeZoneInformation(&info), TIME_ZONE_ID_UNKNOWN)
      << "the system should know " << zone->tz << " as a zone without daylight saving";
  EXPECT_DOUBLE_EQ(platform::CurrentLocalTimeBias() * 1440, zone->minutes_east);

  testenv::TempFolder folder;
  const std::string out = folder.path() + "\\out.txt";
  const std::string command = "\"\"" SALVORA_PROGRAM "\" scan \"" DEMO_STORE_DIR
                              "/Inbox.dbx\" --format csv >\"" +
                              out + "\" 2>NUL\"";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_NE(testenv::ReadFile(out).find(std::string("Quarterly figures,") +
                                        zone->quarterly_figures_date + ","),
            std::string::npos)
      << testenv::ReadFile(out);
}

} // namespace
