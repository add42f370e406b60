// The escapes of Wine's hive text: C-like escapes, "\x" UTF-16 units paired into UTF-8, and
// the malformed lines a hand-edited or damaged hive holds.
#include "platform/wine_hive.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

using platform::WineHive;

std::optional<std::string> ReadValue(const std::string& value_line) {
  const WineHive hive =
      WineHive::Parse("WINE REGISTRY Version 2\n\n[Software\\\\Test] 1\n" + value_line + "\n");
  return hive.ReadString("Software\\Test", "V");
}

TEST(WineHiveEscapes, DecodeToUtf8) {
  const std::string kReplacement = "\xEF\xBF\xBD";
  struct Case {
    const char* line;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {R"("V"="\a\b\e\f\r\v\t\n")", std::string("\a\b\x1b\f\r\v\t\n")},
      {R"("V"="\x20ac")", std::string("\xE2\x82\xAC")},   // three UTF-8 bytes
      {R"("V"="\x41BCz")", std::string("\xE4\x86\xBCz")}, // at most four hex digits
      {R"("V"="\x7ff")", std::string("\xDF\xBF")},
      {R"("V"="\xd83d\xde00")", std::string("\xF0\x9F\x98\x80")},
      // Unpaired surrogates: a high one followed by anything else, a lone low one, a high one
      // at the end of the text.
      {R"("V"="\xd800x")", kReplacement + "x"},
      {R"("V"="\xd800\x41")", kReplacement + "A"},
      {R"("V"="\xdc00")", kReplacement},
      {R"("V"="a\xd800")", "a" + kReplacement},
      {R"("V"="\xgh")", std::string("xgh")}, // "\x" without digits
      {R"("V"="\q\"")", std::string("q\"")}, // any other escape stands for the character
      {R"("V"="\0101")", std::string("\x08"
                                     "1")},         // octal takes at most three digits
      {R"("V"=hex(2):41,00,42)", std::string("A")}, // a last odd byte is no unit
      {R"("V"=hex(2):41,0,42,00)", std::nullopt},   // an item that is not two digits
      {R"("V"=hex(2):zz,00)", std::nullopt},
      {R"("V")", std::nullopt},    // no '='
      {R"("V="x")", std::nullopt}, // name never closed
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadValue(c.line), c.expected) << c.line;
}

TEST(WineHiveEscapes, BlankLinesBeforeTheHeaderAreSkipped) {
  const WineHive hive = WineHive::Parse("\n  \nWINE REGISTRY Version 2\n[A] 1\n\"V\"=\"x\"\n");
  EXPECT_EQ(hive.ReadString("A", "V"), "x");
  EXPECT_TRUE(hive.HasKey(""));
  EXPECT_TRUE(hive.HasKey("\\"));
}

TEST(WineHiveEscapes, WrittenControlAndWideCharactersSurviveARoundTrip) {
  const std::string values[] = {
      "a\rb", "\x01\x1f\x7f", "\xE2\x82\xAC 5", "\xF0\x9F\x98\x80", "\\\\server\\share", ""};
  for (const std::string& value : values) {
    WineHive hive = WineHive::Parse("WINE REGISTRY Version 2\n");
    hive.WriteString("Software\\Test", "V", value);
    const std::string text = hive.Serialize();
    EXPECT_EQ(text.find('\r'), std::string::npos) << "a CR would end the line in the file";
    EXPECT_EQ(WineHive::Parse(text).ReadString("Software\\Test", "V"), value) << text;
  }
}

} // namespace

namespace {

// Found by wine_hive_fuzzer: a hex value whose continuation backslash ends a file cut short
// kept the backslash, and a rewrite then joined the line after it to the value.
TEST(WineHiveDamage, HexValueCutShortAtTheEndSwallowsNoLaterLine) {
  struct Case {
    const char* name;
    const char* text;
  };
  const Case cases[] = {
      {"a value written after it", "WINE REGISTRY Version 2\n[A] 1\n\"Hex\"=hex:01,\\"},
      {"the value given again, cut short", "WINE REGISTRY Version 2\n[A] 1\n\"Hex\"=\n"
                                           "\"V\"=\"kept\"\n\"Hex\"=hex\\"},
      {"more than one backslash", "WINE REGISTRY Version 2\n[A] 1\n\"Hex\"=hex:01,\\\\\\"},
      {"blanks between backslashes", "WINE REGISTRY Version 2\n[A] 1\n\"Hex\"=hex:01,\\ \\"},
      {"blanks before an empty line", "WINE REGISTRY Version 2\n[A] 1\n\"Hex\"=hex:01,\\ \\\n\n"
                                      "\"W\"=\"x\"\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WineHive hive = WineHive::Parse(c.text);
    hive.WriteString("A", "V", "kept");
    const WineHive again = WineHive::Parse(hive.Serialize());
    EXPECT_EQ(again.ReadString("A", "V"), "kept");
    EXPECT_EQ(WineHive::Parse(again.Serialize()).Serialize(), again.Serialize());
  }
}

} // namespace
