// Character sets a message may name, converted to UTF-8, and names that must not reach the
// converter.
#include "platform/charset.h"

#include <gtest/gtest.h>

namespace {

// `n` times U+FFFD.
std::string Replacements(int n) {
  std::string text;
  while (n-- > 0)
    text += "\xEF\xBF\xBD";
  return text;
}

struct CharsetCase {
  const char* charset;
  std::string bytes;
  std::optional<std::string> utf8;
};

TEST(ConvertToUtf8, ConvertsWhatMailUsesAndRefusesTheRest) {
  const CharsetCase cases[] = {
      {"iso-8859-1", "\xE9t\xE9", "\xC3\xA9t\xC3\xA9"},
      {"ISO-8859-1", "\xFC", "\xC3\xBC"},
      {"windows-1252", "\x80 \x93x\x94", "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D"},
      {"koi8-r", "\xF0\xD2\xC9\xD7\xC5\xD4", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},
      {"shift_jis", "\x93\xFA\x96\x7B", "\xE6\x97\xA5\xE6\x9C\xAC"},
      {"ks_c_5601-1987", "\xC7\xD1", "\xED\x95\x9C"},
      {"utf-8", "ok \xE2\x82\xAC", "ok \xE2\x82\xAC"},
      {"utf-8*en", "x", "x"},
      {"us-ascii", "", ""},
      // Bytes the character set does not allow, in the middle and cut short at the end.
      {"utf-8",
       "a\xFF"
       "b",
       "a\xEF\xBF\xBD"
       "b"},
      {"utf-8", "a\xE2\x82", "a\xEF\xBF\xBD"},
      // A sequence beyond U+10FFFF, which glibc's iconv lets through.
      {"utf-8", "\xF5\xBC\x90\x91", Replacements(4)},
      // Names no system knows, and names that are no names.
      {"x-no-such-charset", "x", std::nullopt},
      {"", "x", std::nullopt},
      {"utf-8//TRANSLIT", "x", std::nullopt},
      {"../../etc/passwd", "x", std::nullopt},
  };
  for (const CharsetCase& c : cases)
    EXPECT_EQ(platform::ConvertToUtf8(c.charset, c.bytes), c.utf8) << c.charset << " " << c.bytes;
}

} // namespace
