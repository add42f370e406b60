// The decoders a reader of a message needs: encoded words kept with their character sets,
// and part contents decoded whatever damage they carry.
#include "mime/content_decoding.h"
#include "mime/encoded_words.h"

#include <gtest/gtest.h>

namespace mime {
namespace {

using Pieces = std::vector<CharsetText>;

TEST(SplitEncodedWords, PiecesKeepTheirCharsets) {
  struct Case {
    std::string value;
    Pieces pieces;
  };
  const Case cases[] = {
      {"plain", {{"", "plain"}}},
      {"", {}},
      {"=?ISO-8859-1?q?a=e9?= =?iso-8859-1?Q?_b?=", {{"ISO-8859-1", "a\xE9 b"}}},
      {"x =?utf-8?B?w6k=?=y", {{"", "x "}, {"utf-8", "\xC3\xA9"}, {"", "y"}}},
      {"=?koi8-r?B?8A==?=\t =?utf-8?B?w6k=?=", {{"koi8-r", "\xF0"}, {"utf-8", "\xC3\xA9"}}},
      {"=?utf-8?Q?=3d?=", {{"utf-8", "="}}},
      // Not encoded words: no charset, an unknown encoding, a blank inside, no end.
      {"=??Q?a?=", {{"", "=??Q?a?="}}},
      {"=?x?X?a?=", {{"", "=?x?X?a?="}}},
      {"=?x?Q?a b?=", {{"", "=?x?Q?a b?="}}},
      {"=?x?Q?ab", {{"", "=?x?Q?ab"}}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SplitEncodedWords(c.value), c.pieces) << c.value;
}

TEST(SplitEncodedWords, ThousandsOfWordsThatNeverEndAreReadOnce) {
  std::string value;
  for (int i = 0; i < 200000; ++i)
    value += "=?a?Q?x";
  const Pieces pieces = SplitEncodedWords(value);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].bytes, value);
}

TEST(ContentDecoding, DamagedContentGivesWhatItHolds) {
  struct Case {
    const char* encoding;
    std::string body;
    std::string content;
  };
  const Case cases[] = {
      {"base64", "SGVs\r\nbG8=", "Hello"},
      {"BASE64", " SG Vs!bG8 ", "Hello"},
      {"base64", "YQ==YWI=", "aab"}, // decoding goes on after "="
      {"base64", "YWJjZA", "abcd"},  // no padding
      {"base64", "Y", ""},
      {"quoted-printable", "a=3Db=3db=\r\nc", "a=b=bc"},
      {"quoted-printable", "soft= \t\r\nbreak=\nand=", "softbreakand"},
      {"quoted-printable", "=XY=4", "=XY=4"},
      {"x-uuencode", "begin 644 a\r\n#86)C\r\nbad line\r\n#86)C\r\nend\r\n#86)C\r\n", "abcabc"},
      {"x-uue", "#86)C\n", "abc"},
      {" 7bit ", "=41", "=41"},
      {"", "as it stands", "as it stands"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(DecodeContent(c.body, c.encoding), c.content) << c.encoding << " " << c.body;
}

TEST(TakeUuencodedFiles, OnlyWellFormedBeginLinesStartABlock) {
  std::string text = "begin here\r\nbegin 644\r\nbegin 9 x\r\nbegin 644 a b.txt \r\n#86)C\r\n"
                     "end \r\nafter\n";
  const std::vector<UuencodedFile> files = TakeUuencodedFiles(text);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].name, "a b.txt");
  EXPECT_EQ(files[0].content, "abc");
  EXPECT_EQ(text, "begin here\r\nbegin 644\r\nbegin 9 x\r\nafter\n");
  std::string none = "no files\r\n";
  EXPECT_TRUE(TakeUuencodedFiles(none).empty());
  EXPECT_EQ(none, "no files\r\n");
}

} // namespace
} // namespace mime
