#include "platform/ini_file.h"

#include <gtest/gtest.h>

namespace {

constexpr char kIni[] = "\xEF\xBB\xBF"
                        "Stray=before any section\r\n"
                        "; a comment\r\n"
                        "[Program]\r\n"
                        "ProgramName = My Recovery \r\n"
                        "CompanyName=\"Quoted Ltd\"\r\n"
                        "Empty=\r\n"
                        "# another comment\r\n"
                        "ProgramName=second one loses\r\n"
                        "[Other]\r\n"
                        "Email=other@example.org\r\n"
                        "[ program ]\n"
                        "Email=late@example.org\n";

struct IniCase {
  const char* section;
  const char* key;
  const char* expected;
};

void PrintTo(const IniCase& c, std::ostream* os) {
  *os << c.section << " / " << c.key;
}

class IniRead : public testing::TestWithParam<IniCase> {};

TEST_P(IniRead, ReadsValuesOrTheDefault) {
  const platform::IniFile ini = platform::IniFile::Parse(kIni);
  EXPECT_EQ(ini.ReadString(GetParam().section, GetParam().key, "default"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, IniRead,
                         testing::Values(IniCase{"Program", "ProgramName", "My Recovery"},
                                         IniCase{"PROGRAM", "programname", "My Recovery"},
                                         IniCase{"Program", "CompanyName", "Quoted Ltd"},
                                         IniCase{"Program", "Empty", ""},
                                         IniCase{"Program", "Email", "late@example.org"},
                                         IniCase{"Other", "Email", "other@example.org"},
                                         IniCase{"Program", "WebSiteURL", "default"},
                                         IniCase{"Missing", "ProgramName", "default"},
                                         IniCase{"", "Stray", "default"}));

TEST(IniFile, MissingFileGivesDefaults) {
  const auto ini = platform::IniFile::Load("/nonexistent/salvora/SalvoraExpress.ini");
  EXPECT_EQ(ini.ReadString("Program", "ProgramName", "Salvora"), "Salvora");
}

} // namespace
