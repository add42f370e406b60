#include "platform/wine_hive.h"

#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

using platform::WineHive;

constexpr char kHive[] = R"(WINE REGISTRY Version 2
;; All keys relative to \\User\\S-1-5-21-0-0-0-1000

#arch=win32

[Software\\Microsoft\\Outlook Express] 1765270800
#time=1dc68b5c1e2a000
"Plain"="C:\\users\\demo"
"Expandable"=str(2):"%UserProfile%\\Local Settings"
"Quoted"="say \"hi\"\ttab\nline"
"Accented"="caf\x00e9 \xe9t\xe9"
"Astral"="a\xd836\xdd77b"
"Octal"="x\101y"
"Number"=dword:00000001
"Unterminated"="no end
"Wide"=hex(2):41,00,42,00,\
  43,00,00,00
@="default data"

[Identities\\{6E3C1F0A-7B2D-4C59-8A41-2F9D3B7E5C10}\\Software] 1765270800
"User ID"="{6E3C1F0A-7B2D-4C59-8A41-2F9D3B7E5C10}"
this line is not a value
[Broken\\Key
"Lost"="belongs to no key"
)";

struct ReadCase {
  const char* key;
  const char* name;
  std::optional<std::string> expected;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
  *os << c.key << " / " << c.name;
}

class WineHiveRead : public testing::TestWithParam<ReadCase> {};

TEST_P(WineHiveRead, ReadsStringValues) {
  const WineHive hive = WineHive::Parse(kHive);
  EXPECT_EQ(hive.ReadString(GetParam().key, GetParam().name), GetParam().expected);
}

constexpr char kOe[] = "Software\\Microsoft\\Outlook Express";

INSTANTIATE_TEST_SUITE_P(
    Values, WineHiveRead,
    testing::Values(ReadCase{kOe, "Plain", "C:\\users\\demo"},
                    ReadCase{kOe, "Expandable", "%UserProfile%\\Local Settings"},
                    ReadCase{kOe, "Quoted", "say \"hi\"\ttab\nline"},
                    ReadCase{kOe, "Accented", "caf\xC3\xA9 \xC3\xA9t\xC3\xA9"},
                    ReadCase{kOe, "Astral",
                             "a\xF0\x9D\xA5\xB7"
                             "b"},
                    ReadCase{kOe, "Octal", "xAy"}, ReadCase{kOe, "Wide", "ABC"},
                    ReadCase{kOe, "", "default data"}, ReadCase{kOe, "@", "default data"},
                    // Names compare without regard to letter case; a leading backslash is allowed.
                    ReadCase{"\\SOFTWARE\\microsoft\\outlook express", "PLAIN", "C:\\users\\demo"},
                    ReadCase{"Identities\\{6e3c1f0a-7b2d-4c59-8a41-2f9d3b7e5c10}\\software",
                             "user id", "{6E3C1F0A-7B2D-4C59-8A41-2F9D3B7E5C10}"},
                    // Not strings, malformed, or missing: no value.
                    ReadCase{kOe, "Number", std::nullopt},
                    ReadCase{kOe, "Unterminated", std::nullopt},
                    ReadCase{kOe, "Missing", std::nullopt},
                    ReadCase{"Software", "Plain", std::nullopt},
                    ReadCase{"Broken\\Key", "Lost", std::nullopt}));

TEST(WineHive, KeysAboveAListedKeyExist) {
  const WineHive hive = WineHive::Parse(kHive);
  EXPECT_TRUE(hive.HasKey("\\Identities"));
  EXPECT_TRUE(hive.HasKey("Software\\Microsoft"));
  EXPECT_TRUE(hive.HasKey("software\\microsoft\\outlook express\\"));
  EXPECT_FALSE(hive.HasKey("Software\\Micro"));
  EXPECT_FALSE(hive.HasKey("Software\\Microsoft\\Outlook Express\\5.0"));
}

TEST(WineHive, TextWithoutTheHeaderIsAnEmptyHive) {
  for (const char* text : {"", "garbage\n[Software] 1\n\"A\"=\"b\"\n",
                           "WINE REGISTRY Version 1\n[Software] 1\n\"A\"=\"b\"\n",
                           "\x01\xff\xfe binary", "[Software\\\\X] 1\n\"A\"=\"b\"\n"}) {
    const WineHive hive = WineHive::Parse(text);
    EXPECT_FALSE(hive.HasKey("Software")) << text;
    EXPECT_EQ(hive.ReadString("Software", "A"), std::nullopt) << text;
  }
}

TEST(WineHive, CarriageReturnLineEndsAreAccepted) {
  const WineHive hive =
      WineHive::Parse("WINE REGISTRY Version 2\r\n\r\n[A\\\\B] 1\r\n\"V\"=\"x\"\r\n");
  EXPECT_EQ(hive.ReadString("A\\B", "V"), "x");
}

TEST(WineHive, WrittenStringsSurviveARoundTrip) {
  const std::string tricky =
      "C:\\path with \"quotes\"\ttab\nnewline caf\xC3\xA9 \xF0\x9D\xA5\xB7 100%";
  WineHive hive = WineHive::Parse(kHive);
  hive.WriteString("Software\\SalvoraExpress\\Options", "Save Path", tricky);
  hive.WriteString("software\\microsoft\\OUTLOOK EXPRESS", "plain", "replaced");

  const std::string text = hive.Serialize();
  const WineHive again = WineHive::Parse(text);
  EXPECT_EQ(again.ReadString("Software\\SalvoraExpress\\Options", "save path"), tricky);
  EXPECT_EQ(again.ReadString(kOe, "Plain"), "replaced");
  // What was not written is kept as it was, other types included.
  EXPECT_EQ(again.ReadString(kOe, "Expandable"), "%UserProfile%\\Local Settings");
  EXPECT_NE(text.find("\"Number\"=dword:00000001"), std::string::npos);
  EXPECT_NE(text.find("[Software\\\\SalvoraExpress\\\\Options]"), std::string::npos);
  EXPECT_EQ(text.find("\"plain\""), std::string::npos) << "the stored name keeps its case";
  EXPECT_EQ(text.rfind("WINE REGISTRY Version 2\n", 0), 0u);
}

} // namespace
