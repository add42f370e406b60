// Display texts, date texts, file names and line ends: pure conversions of the workflow.
#include "app/date_text.h"
#include "app/display_text.h"
#include "app/message_file.h"
#include "platform/path_separator.h"

#include <gtest/gtest.h>
#include <random>

namespace app {
namespace {

TEST(DisplayText, Utf8StaysAndOtherBytesAreWindows1252) {
  struct Case {
    std::string bytes;
    std::string shown;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"Gr\xC3\xBC\xC3\x9F"
       "e",
       "Gr\xC3\xBC\xC3\x9F"
       "e"}, // valid UTF-8
      {"Gr\xFC\xDF"
       "e",
       "Gr\xC3\xBC\xC3\x9F"
       "e"},                        // Latin-1
      {"\x80 5", "\xE2\x82\xAC 5"}, // euro sign
      {"\x93quoted\x94", "\xE2\x80\x9Cquoted\xE2\x80\x9D"},
      {"\x81", "\xC2\x81"},                             // no character in the code page
      {"\xC0\x80", "\xC3\x80\xE2\x82\xAC"},             // overlong form is not UTF-8
      {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"}, // a surrogate is not UTF-8
      {"ok \xE2\x82", "ok \xC3\xA2\xE2\x80\x9A"},       // cut sequence
      {"\xF0\x9F\x93\xA7", "\xF0\x9F\x93\xA7"},         // four bytes
  };
  for (const auto& c : cases)
    EXPECT_EQ(DisplayText(c.bytes), c.shown) << c.bytes;
}

TEST(IsoDateText, DatesAndTimes) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {
      {0, "1899-12-30"},
      {1, "1899-12-31"},
      {37683, "2003-03-03"},
      {37683.5, "2003-03-03 12:00:00"},
      {37683 + (10 * 3600 + 20 * 60 + 30) / 86400.0, "2003-03-03 10:20:30"},
      {38261, "2004-10-01"},
      {36585, "2000-02-29"},
      {-1.25, "1899-12-29 06:00:00"},
      {2958465.99999, "9999-12-31 23:59:59"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsoDateText(c.value), c.text) << c.value;
}

TEST(SanitizeFileName, KeepsLettersAndDigitsOnly) {
  struct Case {
    std::string subject;
    std::string name;
  };
  const Case cases[] = {
      {"Hello World", "Hello_World"},
      {"Re: Pr\xE9"
       "avis",
       "Re__Pr_avis"}, // one byte of a single-byte code page
      {"Re: Pr\xC3\xA9"
       "avis",
       "Re__Pr__avis"}, // two bytes of UTF-8
      {"", ""},
      {"../../etc/passwd", "______etc_passwd"},
      {std::string("a\0b", 3), "a_b"},
      {std::string(500, 'x'), std::string(185, 'x')}, // the whole name stays within 200 bytes
  };
  for (const auto& c : cases)
    EXPECT_EQ(SanitizeFileName(c.subject), c.name) << c.subject;
}

TEST(WithCrLfLines, EveryLineEndsWithCrLf) {
  struct Case {
    std::string text;
    std::string written;
  };
  const Case cases[] = {
      {"", ""},
      {"one", "one\r\n"},
      {"one\ntwo\n", "one\r\ntwo\r\n"},
      {"one\rtwo", "one\r\ntwo\r\n"},
      {"one\r\ntwo\r\n", "one\r\ntwo\r\n"},
      {"a\r\r\nb", "a\r\n\r\nb\r\n"},
      {"\n\n", "\r\n\r\n"},
      {std::string("kept\nlost\0after", 15), "kept\r\nlost\r\n"},
      {std::string("\0", 1), ""},
      {"\r", "\r\n"},
      {"tail\r", "tail\r\n"},
      {"a\n\r", "a\r\n\r\n"},
      {"a\r\rb\n", "a\r\n\r\nb\r\n"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WithCrLfLines(c.text), c.written);
}

// Every text of letters and line ends, against the rule said byte by byte: a line ends at
// CR LF, a lone CR or a lone LF, and each line is written with CR LF.
TEST(WithCrLfLines, AgreesWithTheRuleOnRandomTexts) {
  const auto by_the_rule = [](const std::string& text) {
    std::string out, line;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\r' && text[i] != '\n') {
        line += text[i];
        continue;
      }
      out += line + "\r\n";
      line.clear();
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
        ++i;
    }
    return line.empty() ? out : out + line + "\r\n";
  };
  std::mt19937 random(5);
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 24, 'a');
    for (char& c : text)
      c = "ab\r\n"[random() % 4];
    ASSERT_EQ(WithCrLfLines(text), by_the_rule(text)) << testing::PrintToString(text);
  }
}

TEST(MessageFileStem, AMessageWithoutSubjectIsNotHidden) {
  // Where a leading "." hides a file, ".eml" would look to the user like a lost message.
  const std::string empty_stem = platform::kLeadingDotHides ? kNoSubjectStem : "";
  struct Case {
    std::string subject;
    std::string stem;
  };
  const Case cases[] = {
      {"", empty_stem},
      {"Re: x", "Re__x"},
      {".", "_"}, // sanitizing never leaves a leading "."
      {" ", "_"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MessageFileStem(c.subject), c.stem) << c.subject;
}

TEST(CandidateFileName, CounterFromOne) {
  const std::string out = std::string("/out") + platform::kPathSeparator;
  EXPECT_EQ(CandidateFileName("/out", "Hello", 0), out + "Hello.eml");
  EXPECT_EQ(CandidateFileName("/out", "Hello", 2), out + "Hello_2.eml");
  EXPECT_EQ(CandidateFileName("/out", "", 1), out + "_1.eml");
}

} // namespace
} // namespace app
