#include "mime/mail_date.h"
#include "set_variable.h"

#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <string>

namespace mime {
namespace {

constexpr double kSecond = 1.0 / 86400;
constexpr double kFixedBias = 2.0 / 24; // a zone two hours east of UTC

double FixedBias() {
  return kFixedBias;
}

class MailDateTest : public ::testing::Test {
protected:
  void SetUp() override { SetLocalTimeBiasSource(&FixedBias); }
  void TearDown() override { SetLocalTimeBiasSource(nullptr); }
};

double Utc(int year, int month, int day, int hour, int minute, int second) {
  double date = 0;
  EXPECT_TRUE(TryEncodeDate(year, month, day, date));
  return date + (hour * 3600 + minute * 60 + second) * kSecond;
}

TEST(TryEncodeDate, KnownSerials) {
  double date = 0;
  ASSERT_TRUE(TryEncodeDate(1899, 12, 30, date));
  EXPECT_EQ(date, 0);
  ASSERT_TRUE(TryEncodeDate(2004, 1, 5, date));
  EXPECT_EQ(date, 37991);
  ASSERT_TRUE(TryEncodeDate(2000, 2, 29, date));
  EXPECT_EQ(date, 36585);
  EXPECT_FALSE(TryEncodeDate(1900, 2, 29, date));
  EXPECT_FALSE(TryEncodeDate(2004, 1, 32, date));
  EXPECT_FALSE(TryEncodeDate(10000, 1, 1, date));
  EXPECT_FALSE(TryEncodeDate(2004, 13, 1, date));
}

struct DateCase {
  std::string input;
  double expected_utc; // 0: unusable
};

TEST_F(MailDateTest, Table) {
  const DateCase cases[] = {
      {"Mon, 5 Jan 2004 10:20:30 +0100", Utc(2004, 1, 5, 9, 20, 30)},
      {"5 Jan 04 10:20 GMT", Utc(2004, 1, 5, 10, 20, 0)},
      {"Tue, 6 June 2000 08:00:00 -0500", Utc(2000, 1, 6, 13, 0, 0)}, // "June" is January
      {"Mon, 5 Jan", Utc(2000, 1, 5, 0, 0, 0)},
      {"Mon, 5 Feb 1999 23:59:59 EST", Utc(1999, 2, 5, 23, 59, 59)}, // named zones are UTC
      {"Mon, 5 Dec 75 01:02:03 +0000", Utc(1975, 12, 5, 1, 2, 3)},
      {"5/3/2004 10:00:00", Utc(2004, 3, 5, 10, 0, 0)},
      {"Mon, 5 JAN 2004", Utc(2004, 1, 5, 0, 0, 0)},
      {"Mon, 5 Sept 2004", Utc(2004, 1, 5, 0, 0, 0)},
      {"Mon, 5 Oct 2004 25:00:00 +0000", Utc(2004, 10, 6, 1, 0, 0)}, // hours add up
      {"Mon, 5 Oct 2004 10:00:00 +0130", Utc(2004, 10, 5, 8, 30, 0)},
      {"Mon, 5 Oct 2004 10:00:00 +00100", Utc(2004, 10, 5, 10, 0, 0)}, // not 5 long
      {"Mon,  5 Jan 2004", 0}, // two blanks skip the day field
      {"32 Jan 2004", 0},
      {"Mon", 0},
      {"2004-01-05", 0},
      {"", 0},
      {"Mon, 5 Jan 2004 10:00:00 +2400", 0}, // not a time of day
      {"Mon, 5 Jan 2004 10:00:00 +0060", 0},
      {"Mon, 5 Jan -9000", 0},
      {"Mon, 5 13 2004", 0},
  };
  for (const auto& c : cases) {
    const double expected = c.expected_utc == 0 ? 0 : c.expected_utc + kFixedBias;
    EXPECT_NEAR(MailDateToDateTime(c.input), expected, kSecond / 100) << c.input;
  }
}

// A zone without daylight saving still has its offset (POSIX TZ strings need no tz data).
TEST(LocalTimeBias, DefaultIsTheCurrentLocalOffset) {
  const char* saved = std::getenv("TZ");
  const std::string saved_tz = saved ? saved : "";
  const struct {
    const char* tz;
    double expected_days;
  } zones[] = {{"XST-5:30", 5.5 / 24}, {"XST+3", -3.0 / 24}, {"UTC0", 0}};
  for (const auto& zone : zones) {
    testenv::SetVariable("TZ", zone.tz);
    tzset();
    EXPECT_NEAR(LocalTimeBias(), zone.expected_days, 1e-9) << zone.tz;
  }
  testenv::SetVariable("TZ", saved ? std::optional<std::string>(saved_tz) : std::nullopt);
  tzset();
}

} // namespace
} // namespace mime
