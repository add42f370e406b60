#include "mime/quoted_printable.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace mime {
namespace {

struct Case {
  std::string input;
  std::string expected;
};

TEST(DecodeQuotedPrintable, Table) {
  const Case cases[] = {
      {"a=3Db", "a=b"}, {"a=3db", "a=3db"}, // lower-case hex stays
      {"ab=", "ab"},    {"a=\r\nb", "ab"},        {"a=\n\rb", "ab"},
      {"a=\rb", "ab"},  {"a=\nb", "ab"},          {"a=\r", "a"},
      {"a=4", "a=4"},                   // only one character after "="
      {"a=G1", "a=G1"}, {"==41", "=A"}, // the first "=" stays, the second decodes
      {"=3D41", "=41"},                 // a produced byte is not decoded again
      {"a_b", "a_b"},   {"=E9t=E9", "\xE9t\xE9"}, {"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DecodeQuotedPrintable(c.input), c.expected) << c.input;
}

TEST(EncodeQuotedPrintable, Table) {
  const std::string letters80(80, 'a');
  const Case cases[] = {
      {"a=b", "a=3Db"},
      {"caf\xE9", "caf=E9"},
      {"a \r\nb\t", "a \r\nb\t"},
      {letters80, std::string(72, 'a') + "=\r\n" + std::string(8, 'a')},
      {std::string(71, 'a') + "=", std::string(71, 'a') + "=3D=\r\n"},
      // A CR resets the column; the LF after it counts as the first column.
      {std::string(70, 'a') + "\r\n" + std::string(72, 'b'),
       std::string(70, 'a') + "\r\n" + std::string(71, 'b') + "=\r\nb"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(EncodeQuotedPrintable(c.input), c.expected) << c.input;
}

TEST(QuotedPrintableProperty, RoundTripAndLineLengths) {
  std::mt19937 random(822);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> small(0, 3);
  const char plain[] = "aZ =\r\n\t_";
  for (std::size_t length = 0; length < 2000; length += 1 + length / 6) {
    std::string source(length, '\0');
    for (char& c : source)
      c = small(random) == 0 ? static_cast<char>(byte(random)) : plain[byte(random) % 8];
    const std::string encoded = EncodeQuotedPrintable(source);
    ASSERT_EQ(DecodeQuotedPrintable(encoded), source) << "length " << length;

    // No stretch between CRs is longer than the column limit plus one escape and the break.
    std::size_t run = 0;
    for (char c : encoded) {
      run = c == '\r' ? 0 : run + 1;
      ASSERT_LE(run, 75u);
    }
  }
}

} // namespace
} // namespace mime
