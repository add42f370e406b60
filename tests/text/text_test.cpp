// The shared text helpers: how letter case folds and orders, what trimming keeps, which
// version texts are numbers.
#include "text/ascii.h"
#include "text/trim.h"
#include "text/version_number.h"

#include <gtest/gtest.h>

namespace {

int Sign(int value) {
  return (value > 0) - (value < 0);
}

TEST(AsciiCase, OrdersLikeLowerCaseBytes) {
  struct Case {
    std::string_view a, b;
    int sign;
  };
  const Case cases[] = {
      {"abc", "ABC", 0},
      {"abc", "abd", -1},
      {"ab", "abc", -1},
      {"B", "a", 1},
      {"", "", 0},
      {"Z", "a", 1},
      {"_", "a", -1},                        // folded to lower case: '_' < 'a', though '_' > 'A'
      {"\xC3\xA9", "z", 1},                  // bytes compare unsigned: UTF-8 after ASCII
      {"\xC3\x89", "\xC3\xA9", -1},          // only ASCII letters fold
      {std::string_view("a\0b", 3), "a", 1}, // NUL is a byte like any other
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Sign(text::CompareIgnoringAsciiCase(c.a, c.b)), c.sign) << c.a << " vs " << c.b;
    EXPECT_EQ(Sign(text::CompareIgnoringAsciiCase(c.b, c.a)), -c.sign) << c.b << " vs " << c.a;
    EXPECT_EQ(text::EqualsIgnoringAsciiCase(c.a, c.b), c.sign == 0) << c.a << " vs " << c.b;
  }
}

TEST(AsciiCase, PrefixesSuffixesAndLowering) {
  EXPECT_TRUE(text::StartsWithIgnoringAsciiCase("MK:@MSITStore:x.chm", "mk:@msitstore:"));
  EXPECT_FALSE(text::StartsWithIgnoringAsciiCase("mk:", "mk:@"));
  EXPECT_TRUE(text::EndsWithIgnoringAsciiCase("C:\\WINDOWS\\HH.EXE", ".exe"));
  EXPECT_FALSE(text::EndsWithIgnoringAsciiCase("exe", ".exe"));
  EXPECT_TRUE(text::StartsWithIgnoringAsciiCase("anything", ""));
  EXPECT_EQ(text::LowerAscii("Deleted Items.DBX \xC3\x89"), "deleted items.dbx \xC3\x89");
}

TEST(Trim, KeepsWhatIsNotInTheSetOfBlanks) {
  struct Case {
    std::string_view text, blanks, both, left, right;
  };
  const Case cases[] = {
      {"  a b  ", " ", "a b", "a b  ", "  a b"},
      {"\t a\t", " ", "\t a\t", "\t a\t", "\t a\t"}, // header text: a tab is no blank
      {" \t a\r\n", " \t\r\n", "a", "a\r\n", " \t a"},
      {"   ", " ", "", "", ""},
      {"", " ", "", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(text::TrimSpaces(c.text, c.blanks), c.both) << c.text;
    EXPECT_EQ(text::TrimLeftSpaces(c.text, c.blanks), c.left) << c.text;
    EXPECT_EQ(text::TrimRightSpaces(c.text, c.blanks), c.right) << c.text;
  }
}

TEST(Trim, PadLeftKeepsTheLastCharactersOrFills) {
  EXPECT_EQ(text::PadLeft("  abc", 5, "0"), "00abc");
  EXPECT_EQ(text::PadLeft("123456789", 8, "0"), "23456789");
  EXPECT_EQ(text::PadLeft("a", 4, "xy"), "xyxya");
  EXPECT_EQ(text::PadLeft("ab", 5, ""), "ab");
}

TEST(VersionNumber, OnlyDottedDecimalNumbersParse) {
  using Numbers = std::vector<std::uint32_t>;
  EXPECT_EQ(text::ParseVersionNumbers("4.74.8793.0"), (Numbers{4, 74, 8793, 0}));
  EXPECT_EQ(text::ParseVersionNumbers("7"), (Numbers{7}));
  EXPECT_EQ(text::ParseVersionNumbers("1.2.3.4.5"), (Numbers{1, 2, 3, 4, 5}));
  EXPECT_EQ(text::ParseVersionNumbers("007.999999999"), (Numbers{7, 999999999}));
  for (std::string_view bad :
       {"", ".", "1.", ".1", "1..2", "1.a", "+1", " 1", "1 ", "1,2", "1000000000" /* ten digits */})
    EXPECT_EQ(text::ParseVersionNumbers(bad), std::nullopt) << bad;
}

} // namespace
