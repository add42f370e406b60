#include "mime/mime_error.h"
#include "mime/uuencode.h"

#include <gtest/gtest.h>
#include <string>

namespace mime {
namespace {

// The traditional encoder, as a test oracle.
std::string UUEncodeLine(const std::string& bytes) {
  std::string line(1, static_cast<char>(32 + bytes.size()));
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    unsigned v = 0;
    for (std::size_t k = 0; k < 3; ++k)
      v = v << 8 | (i + k < bytes.size() ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (int shift = 18; shift >= 0; shift -= 6) {
      const unsigned six = (v >> shift) & 63;
      line += six == 0 ? '`' : static_cast<char>(32 + six);
    }
  }
  return line;
}

void ExpectFormatError(const std::string& line) {
  try {
    UUDecodeLine(line);
    ADD_FAILURE() << "no error for " << line;
  } catch (const MimeError& e) {
    EXPECT_STREQ(e.what(), "UUCODE message format error");
  }
}

TEST(UUCharValue, Alphabet) {
  EXPECT_EQ(UUCharValue('`'), 0);
  EXPECT_EQ(UUCharValue(' '), 0);
  EXPECT_EQ(UUCharValue('!'), 1);
  EXPECT_EQ(UUCharValue('_'), 63);
  EXPECT_EQ(UUCharValue('M'), 45);
  EXPECT_THROW(UUCharValue('a'), MimeError);
  EXPECT_THROW(UUCharValue('\x1f'), MimeError);
  EXPECT_THROW(UUCharValue('\xA0'), MimeError);
}

TEST(UUDecodeLine, Table) {
  EXPECT_EQ(UUDecodeLine("#86)C"), "abc");
  EXPECT_EQ(UUDecodeLine(""), "");
  EXPECT_EQ(UUDecodeLine("`"), "");
  EXPECT_EQ(UUDecodeLine(" "), "");
  EXPECT_EQ(UUDecodeLine("$86)C"), std::string("abc\0", 4)); // missing bits are 0
  EXPECT_EQ(UUDecodeLine("!86)C"), "a");
}

TEST(UUDecodeLine, FullLineNeedsSixtyCharacters) {
  ExpectFormatError("M" + std::string(59, '!'));
  ExpectFormatError("#86)c"); // lower-case letter
  const std::string full(45, 'z');
  EXPECT_EQ(UUDecodeLine(UUEncodeLine(full)), full);
  // Characters after the 60th of a full line are not read.
  EXPECT_EQ(UUDecodeLine(UUEncodeLine(full) + "abc"), full);
}

TEST(UUDecodeLine, OverlongLinesStayInStorage) {
  // Counts above 45 and more than 60 data characters yield what fits.
  EXPECT_EQ(UUDecodeLine("_" + std::string(100, '!')).size(), 45u);
  EXPECT_EQ(UUDecodeLine("_").size(), 45u);
  EXPECT_EQ(UUDecodeLine("#86)C" + std::string(200, '!')), "abc");
}

TEST(UUDecodeLine, RoundTripsEveryLength) {
  std::string bytes;
  for (int length = 0; length <= 45; ++length) {
    EXPECT_EQ(UUDecodeLine(UUEncodeLine(bytes)), bytes) << length;
    bytes += static_cast<char>(length * 37 + 11);
  }
}

TEST(UUDecodeToStream, Lines) {
  EXPECT_EQ(UUDecodeToStream("#86)C\r\n#86)C\r\n`\r\n \r\n"), "abcabc");
  EXPECT_EQ(UUDecodeToStream("#86)C\r\n\r\n#86)C"), "abcabc");
  EXPECT_EQ(UUDecodeToStream(""), "");
  EXPECT_THROW(UUDecodeToStream("#86)C\r\nbad line\r\n#86)C"), MimeError);
}

} // namespace
} // namespace mime
