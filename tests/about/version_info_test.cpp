// The version reader on blocks built here: the fixed part, the shortened version text, the
// string table in its order, and blocks that lack parts.
#include "about/version_block_writer.h"
#include "about/version_info.h"
#include "about/version_resource.h"

#include <gtest/gtest.h>

namespace about {
namespace {

VersionBlockFields Fields(std::array<std::uint16_t, 4> version) {
  VersionBlockFields f;
  f.file_version = version;
  f.product_version = {9, 8, 7, 6};
  f.file_os = 0x40004;
  f.file_type = 1;
  return f;
}

TVersionInfo Parse(const VersionBlockFields& fields) {
  const std::vector<std::uint8_t> block = BuildVersionBlock(fields);
  TVersionInfo info;
  info.ParseVersionBlock(block);
  return info;
}

struct ShortCase {
  std::array<std::uint16_t, 4> version;
  const char* text;
};

TEST(VersionText, ShortensOnlyWholeZeroLastNumbers) {
  const ShortCase cases[] = {
      {{1, 0, 0, 0}, "1.0"},       {{0, 0, 0, 0}, "0.0"},
      {{2, 0, 0, 0}, "2.0"},       {{1, 0, 1, 3}, "1.0.1.3"},
      {{1, 0, 1, 10}, "1.0.1.10"}, {{1, 2, 0, 20}, "1.2.0.20"},
      {{1, 2, 0, 10}, "1.2.0.10"}, {{1, 2, 3, 0}, "1.2.3"},
      {{1, 2, 0, 0}, "1.2"},       {{10, 0, 0, 0}, "10.0"},
      {{1, 10, 0, 0}, "1.10"},     {{65535, 65535, 65535, 65535}, "65535.65535.65535.65535"},
  };
  for (const ShortCase& c : cases)
    EXPECT_EQ(Parse(Fields(c.version)).VersionText(), c.text) << c.text;
}

TEST(VersionText, ShortVersionTextRule) {
  EXPECT_EQ(ShortVersionText("3.0.0.0"), "3.0");
  EXPECT_EQ(ShortVersionText("3.100.0.0"), "3.100");
  EXPECT_EQ(ShortVersionText("0.0.0.1"), "0.0.0.1");
}

TEST(VersionDetails, FixedLinesThenStringTableInOrder) {
  VersionBlockFields f = Fields({1, 0, 0, 0});
  // Written out of order: the reader's own order must win.
  f.strings = {{"Author", "A. Writer"},
               {"SpecialBuild", "sb"},
               {"ProductVersion", "1.0.0.0"},
               {"ProductName", "Salvora"},
               {"PrivateBuild", "pb"},
               {"OriginalFileName", "SalvoraExpress"},
               {"LegalTradeMarks", "tm"},
               {"LegalCopyright", "Copyright Someone"},
               {"InternalName", "internal"},
               {"FileDescription", "Rescues mail"},
               {"CompanyName", "Salvora Software"},
               {"Comments", "none"}};
  const TVersionInfo info = Parse(f);
  EXPECT_EQ(info.FileDescription(), "Rescues mail");
  EXPECT_EQ(info.LegalCopyright(), "Copyright Someone");
  const std::vector<std::string> expected = {"ProductVersion=9.8.7.6",
                                             "OperatingSystem=Windows NT with 32 bit Windows",
                                             "FileType=Application",
                                             "Comments=none",
                                             "Company Name=Salvora Software",
                                             "Internal Name=internal",
                                             "Legal Trademarks=tm",
                                             "Original Filename=SalvoraExpress",
                                             "Private Build=pb",
                                             "Product Name=Salvora",
                                             "Product Version=1.0.0.0",
                                             "Special Build=sb",
                                             "Author=A. Writer"};
  EXPECT_EQ(info.Details(), expected);
}

TEST(VersionDetails, MissingKeysLeaveNoLines) {
  VersionBlockFields f = Fields({1, 2, 3, 4});
  f.strings = {{"CompanyName", "Maker"}};
  const TVersionInfo info = Parse(f);
  EXPECT_EQ(info.VersionText(), "1.2.3.4");
  EXPECT_EQ(info.FileDescription(), "");
  EXPECT_EQ(info.LegalCopyright(), "");
  const std::vector<std::string> expected = {"ProductVersion=9.8.7.6",
                                             "OperatingSystem=Windows NT with 32 bit Windows",
                                             "FileType=Application", "Company Name=Maker"};
  EXPECT_EQ(info.Details(), expected);
}

TEST(VersionDetails, OnlyTheUsEnglishWesternTableIsRead) {
  VersionBlockFields f = Fields({1, 0, 0, 0});
  f.string_table = "040704B0";
  f.strings = {{"FileDescription", "Beschreibung"}};
  const TVersionInfo info = Parse(f);
  EXPECT_EQ(info.FileDescription(), "");
  EXPECT_EQ(info.Details().size(), 3u);
}

TEST(VersionDetails, StringValuesAreUnicode) {
  VersionBlockFields f = Fields({1, 0, 0, 0});
  f.strings = {{"LegalCopyright", "Copyright \u00A9 2026 M\u00FCller \U0001F600"}};
  EXPECT_EQ(Parse(f).LegalCopyright(), "Copyright \u00A9 2026 M\u00FCller \U0001F600");
}

struct NameCase {
  std::uint32_t value;
  const char* name;
};

TEST(VersionDetails, OperatingSystemNames) {
  const NameCase cases[] = {{1, "Windows 3.xx"},
                            {2, "16-bit OS/2 Presentation Manager"},
                            {3, "32-bit OS/2 Presentation Manager"},
                            {4, "32-bit Windows"},
                            {0x10000, "MS-DOS"},
                            {0x10001, "Windows 3.xx with MS-DOS"},
                            {0x10004, "32-bit Windows with MS-DOS"},
                            {0x20000, "16-bit OS/2"},
                            {0x20002, "16-bit OS/2 with Presentation Manager"},
                            {0x30000, "32-bit OS/2"},
                            {0x30003, "32-bit OS/2 with Presentation Manager"},
                            {0x40000, "Windows NT"},
                            {0x40004, "Windows NT with 32 bit Windows"},
                            {0, "Unknown"},
                            {0x50000, "Unknown"}};
  for (const NameCase& c : cases) {
    VersionBlockFields f = Fields({1, 0, 0, 0});
    f.file_os = c.value;
    EXPECT_EQ(Parse(f).Details()[1], std::string("OperatingSystem=") + c.name) << c.value;
  }
}

TEST(VersionDetails, FileTypeNames) {
  const NameCase cases[] = {{1, "Application"},
                            {2, "Dynamic-Link Library"},
                            {3, "Device Driver"},
                            {4, "Font"},
                            {5, "Virtual Device Driver"},
                            {7, "Static-Link Library"},
                            {6, "Unknown"},
                            {0, "Unknown"}};
  for (const NameCase& c : cases) {
    VersionBlockFields f = Fields({1, 0, 0, 0});
    f.file_type = c.value;
    EXPECT_EQ(Parse(f).Details()[2], std::string("FileType=") + c.name) << c.value;
  }
}

TEST(VersionBlock, WithoutFixedPartNothingIsRead) {
  VersionBlockFields f = Fields({1, 0, 0, 0});
  f.with_fixed_info = false;
  f.strings = {{"FileDescription", "x"}};
  const TVersionInfo info = Parse(f);
  EXPECT_EQ(info.VersionText(), "");
  EXPECT_EQ(info.FileDescription(), "");
  EXPECT_TRUE(info.Details().empty());
}

TEST(VersionBlock, WrongSignatureReadsAsNoFixedPart) {
  std::vector<std::uint8_t> block = BuildVersionBlock(Fields({1, 0, 0, 0}));
  // The fixed part follows the 6-byte header and the key "VS_VERSION_INFO" with its
  // terminator (32 bytes), padded to offset 40.
  ASSERT_EQ(block[40], 0xBD);
  block[40] = 0;
  TVersionInfo info;
  info.ParseVersionBlock(block);
  EXPECT_EQ(info.VersionText(), "");
}

TEST(VersionBlock, LayoutFollowsVsVersionInfo) {
  const std::vector<std::uint8_t> block = BuildVersionBlock(Fields({1, 2, 3, 4}));
  EXPECT_EQ(block[0] | (block[1] << 8), static_cast<int>(block.size())); // wLength
  EXPECT_EQ(block[2] | (block[3] << 8), 52);                             // wValueLength
  EXPECT_EQ(block[4] | (block[5] << 8), 0);                              // binary
  const std::string key = "VS_VERSION_INFO";
  for (std::size_t i = 0; i < key.size(); ++i) {
    EXPECT_EQ(block[6 + 2 * i], key[i]);
    EXPECT_EQ(block[7 + 2 * i], 0);
  }
  const std::uint8_t signature[] = {0xBD, 0x04, 0xEF, 0xFE};
  EXPECT_TRUE(std::equal(std::begin(signature), std::end(signature), block.begin() + 40));
  // dwFileVersionMS = 1.2: the low word (2) first.
  EXPECT_EQ(block[48], 2);
  EXPECT_EQ(block[50], 1);
}

TEST(VersionBlock, EmptyAndTinyInputsReadNothing) {
  TVersionInfo info;
  info.ParseVersionBlock({});
  EXPECT_EQ(info.VersionText(), "");
  const std::uint8_t tiny[] = {6, 0, 0, 0, 0, 0};
  info.ParseVersionBlock(tiny);
  EXPECT_EQ(info.VersionText(), "");
}

TEST(VersionBlock, EveryTruncationIsSafe) {
  VersionBlockFields f = Fields({1, 2, 3, 4});
  f.strings = {{"CompanyName", "Maker"}, {"FileDescription", "Desc"}};
  const std::vector<std::uint8_t> block = BuildVersionBlock(f);
  for (std::size_t n = 0; n < block.size(); ++n) {
    // A shortened copy on the heap, so that a read past its end is caught.
    const std::vector<std::uint8_t> part(block.begin(), block.begin() + n);
    TVersionInfo info;
    info.ParseVersionBlock(part);
    // The root's wLength then claims more than there is: nothing is read.
    EXPECT_EQ(info.VersionText(), "") << n;
  }
}

TEST(VersionBlock, CorruptedBytesNeverReadOutside) {
  VersionBlockFields f = Fields({1, 2, 3, 4});
  f.strings = {{"CompanyName", "Maker"}, {"FileDescription", "Desc"}};
  const std::vector<std::uint8_t> block = BuildVersionBlock(f);
  std::uint32_t seed = 12345;
  int still_read = 0;
  for (int round = 0; round < 2000; ++round) {
    std::vector<std::uint8_t> copy = block;
    for (int k = 0; k < 4; ++k) {
      seed = seed * 1103515245u + 12345u;
      copy[(seed >> 8) % copy.size()] = static_cast<std::uint8_t>(seed >> 24);
    }
    TVersionInfo info;
    info.ParseVersionBlock(copy);
    still_read += info.VersionText().empty() ? 0 : 1;
  }
  EXPECT_GT(still_read, 0); // the damage is mostly local
}

TEST(VersionResource, QueriesCompareKeysWithoutCase) {
  VersionBlockFields f = Fields({1, 0, 0, 0});
  f.strings = {{"CompanyName", "Maker"}};
  const std::vector<std::uint8_t> block = BuildVersionBlock(f);
  EXPECT_EQ(QueryStringValue(block, "\\stringfileinfo\\040904e4\\COMPANYNAME"), "Maker");
  EXPECT_EQ(QueryStringValue(block, "\\StringFileInfo\\040904E4\\Missing"), std::nullopt);
  EXPECT_EQ(QueryStringValue(block, "\\NoSuchTable\\040904E4\\CompanyName"), std::nullopt);
}

TEST(VersionResource, Utf16LoneSurrogateBecomesReplacement) {
  const std::uint8_t text[] = {'A', 0, 0x00, 0xD8, 'B', 0, 0, 0, 'C', 0};
  EXPECT_EQ(Utf16LeToUtf8(text), "A\xEF\xBF\xBD"
                                 "B");
}

} // namespace
} // namespace about
