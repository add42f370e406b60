#include "mime/mail_date.h"

#include "text/ascii.h"
#include "text/trim.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <ctime>
#include <string>

namespace mime {
namespace {

constexpr int kDayField = 1;
constexpr int kMonthField = 2;
constexpr int kYearField = 3;
constexpr int kHourField = 4;
constexpr int kMinuteField = 5;
constexpr int kSecondField = 6;
constexpr int kZoneField = 7;
constexpr std::int64_t kUnixEpochSerial = 25569; // 1 January 1970 in days since 30 December 1899

// Days since 1 January 1970 of a proleptic Gregorian date (Howard Hinnant's algorithm).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

bool IsLeapYear(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeapYear(y) ? 29 : kDays[m - 1];
}

// A decimal integer with an optional sign, or `fallback` when the text is anything else.
int IntegerOr(std::string_view text, int fallback) {
  if (!text.empty() && text[0] == '+')
    text.remove_prefix(1);
  if (text.empty() || text[0] == '+')
    return fallback;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size())
    return fallback;
  return value;
}

int MonthNumber(std::string_view field) {
  if (field.empty())
    return 0;
  if (text::IsDigitAscii(field[0]))
    return IntegerOr(field, 0);
  static constexpr std::string_view kMonths = "Jan,Feb,Mar,Apr,May,Jun,Jul,Aug,Sep,Oct,Nov,Dec,";
  const std::size_t found = kMonths.find(field);
  const long position = found == std::string_view::npos ? 0 : static_cast<long>(found) + 1;
  return static_cast<int>((position - 1) / 4 + 1); // an unknown name truncates to January
}

// Every byte up to the space: the control characters and the blank.
constexpr std::array<char, 33> kControlAndBlank = [] {
  std::array<char, 33> bytes{};
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<char>(i);
  return bytes;
}();

std::string_view TrimControlAndBlanks(std::string_view s) {
  return text::TrimSpaces(s, {kControlAndBlank.data(), kControlAndBlank.size()});
}

// The zone offset in days; false when hours or minutes are out of range.
bool ZoneOffset(std::string_view zone, double& offset) {
  offset = 0;
  if (zone == "GMT")
    return true;
  zone = TrimControlAndBlanks(zone);
  if (zone.size() != 5)
    return true;
  const int sign = IntegerOr(std::string{zone[0]} + "1", 1);
  const int hours = IntegerOr(zone.substr(1, 2), 0);
  const int minutes = IntegerOr(zone.substr(3, 2), 0);
  if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59)
    return false;
  offset = sign * (hours / 24.0 + minutes / 1440.0);
  return true;
}

double CurrentLocalOffsetInDays() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  std::tm utc{};
  if (const std::tm* l = std::localtime(&now))
    local = *l;
  else
    return 0;
  if (const std::tm* u = std::gmtime(&now))
    utc = *u;
  else
    return 0;
  const auto seconds_of = [](const std::tm& t) {
    return DaysFromCivil(t.tm_year + 1900, static_cast<unsigned>(t.tm_mon + 1),
                         static_cast<unsigned>(t.tm_mday)) *
               86400 +
           t.tm_hour * 3600 + t.tm_min * 60 + t.tm_sec;
  };
  return static_cast<double>(seconds_of(local) - seconds_of(utc)) / 86400.0;
}

LocalTimeBiasSource g_bias_source = &CurrentLocalOffsetInDays;

} // namespace

bool TryEncodeDate(int year, int month, int day, double& result) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month))
    return false;
  result = static_cast<double>(
      DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
      kUnixEpochSerial);
  return true;
}

double LocalTimeBias() {
  return g_bias_source();
}

void SetLocalTimeBiasSource(LocalTimeBiasSource source) {
  g_bias_source = source ? source : &CurrentLocalOffsetInDays;
}

double MailDateToDateTime(std::string_view value) {
  if (value.empty())
    return 0;
  // Field 0 is a leading weekday such as "Mon,"; a value starting with a digit has none.
  std::string fields[kZoneField + 1];
  int index = text::IsDigitAscii(value[0]) ? kDayField : 0;
  for (char c : value) {
    if (c == ' ' || c == '/' || c == ':') {
      ++index;
      if (c == ' ' && index == kSecondField)
        index = kZoneField; // no seconds: a blank after the minutes leads to the zone
      continue;
    }
    if (index <= kZoneField)
      fields[index] += c;
  }

  const int day = IntegerOr(fields[kDayField], 0);
  const int month = MonthNumber(fields[kMonthField]);
  int year = IntegerOr(fields[kYearField], 0);
  const int hour = IntegerOr(fields[kHourField], 0);
  const int minute = IntegerOr(fields[kMinuteField], 0);
  const int second = IntegerOr(fields[kSecondField], 0);
  if (year < 100)
    year += year < 50 ? 2000 : 1900;
  if (year == 0 || month == 0)
    return 0;

  double offset = 0;
  if (!ZoneOffset(fields[kZoneField], offset))
    return 0;
  double date = 0;
  if (!TryEncodeDate(year, month, day, date))
    return 0;
  return date + hour / 24.0 + minute / 1440.0 + second / 86400.0 - offset + LocalTimeBias();
}

} // namespace mime
