#include "mime/base64.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace mime {
namespace {

struct DecodeCase {
  std::string input;
  std::string expected;
};

TEST(DecodeBase64, Table) {
  const DecodeCase cases[] = {
      {"YWJj", "abc"},
      {"YWI=", "ab"},
      {"YQ==", "a"},
      {"", ""},
      {"YWJjZA", "abc"}, // final incomplete group ignored
      // A line break fills a slot and leaves it with the value it last held.
      {"YW\r\nJj", std::string("a`\0", 3)},
      {"YWJj\r\nZGVm", "abcafF"},
      {"====", "\x04"}, // pads count 64 where not reset
      {"=WJj", ""},     // pad in slot 1: nothing
      {"SGVsbG8=", "Hello"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DecodeBase64(c.input), c.expected) << c.input;
}

TEST(EncodeBase64Stream, LineShapes) {
  EXPECT_EQ(EncodeBase64Stream(""), "");
  EXPECT_EQ(EncodeBase64Stream("abc"), "YWJj\r\n");
  EXPECT_EQ(EncodeBase64Stream("ab"), "YWI=\r\n");
  EXPECT_EQ(EncodeBase64Stream("a"), "YQ==\r\n");

  const std::string line57(57, 'x');
  const std::string one = EncodeBase64Stream(line57);
  ASSERT_EQ(one.size(), 78u);
  EXPECT_EQ(one.substr(76), "\r\n");

  const std::string two = EncodeBase64Stream(line57 + "y");
  ASSERT_EQ(two.size(), 78u + 6u);
  EXPECT_EQ(two.substr(0, 78), one);
  EXPECT_EQ(two.substr(78), "eQ==\r\n");
}

TEST(Base64Property, RoundTripAndLineLengths) {
  std::mt19937 random(20040105);
  std::uniform_int_distribution<int> byte(0, 255);
  for (std::size_t length = 0; length < 3000; length += 1 + length / 8) {
    std::string source(length, '\0');
    for (char& c : source)
      c = static_cast<char>(byte(random));
    const std::string encoded = EncodeBase64Stream(source);
    // Line breaks take slots too, so only single-line text decodes whole; longer text
    // decodes once its line breaks are gone.
    std::string joined;
    for (char c : encoded) {
      if (c != '\r' && c != '\n')
        joined += c;
    }
    ASSERT_EQ(DecodeBase64(joined), source) << "length " << length;
    if (length <= 57) {
      ASSERT_EQ(DecodeBase64(encoded), source) << "length " << length;
    }

    // Every line is 76 characters except a shorter last one; all end with CR LF.
    std::size_t position = 0;
    while (position < encoded.size()) {
      const std::size_t end = encoded.find("\r\n", position);
      ASSERT_NE(end, std::string::npos);
      const std::size_t line_length = end - position;
      position = end + 2;
      if (position < encoded.size()) {
        ASSERT_EQ(line_length, 76u);
      } else {
        ASSERT_LE(line_length, 76u);
      }
      ASSERT_EQ(line_length % 4, 0u);
    }
    EXPECT_EQ(encoded.size(), (length + 2) / 3 * 4 + (length + 56) / 57 * 2);
  }
}

} // namespace
} // namespace mime
