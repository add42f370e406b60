#include "mime/header_words.h"
#include "mime/mime_error.h"

#include <gtest/gtest.h>
#include <string>

namespace mime {
namespace {

struct Case {
  std::string input;
  std::string expected;
};

TEST(DecodeHeaderWords, Table) {
  const Case cases[] = {
      {"=?iso-8859-1?Q?a=3Db_c?=", "a=b c"},
      {"=?utf-8?B?SGVsbG8=?=", "Hello"},
      {"=?x?Q?a?= =?x?Q?b?=", "a b"},
      {"=?iso-8859-1?Q?=41?=", "A"}, // encoded text starting with "="
      {"=?x?X?abc?=", "abc"},        // unknown letter read as Q
      {"=?x?B?\?=", ""},
      {"a =? b", "a =? b"},
      {"=?x?Q?abc", "=?x?Q?abc"},
      {"  plain text  ", "plain text"},
      {"Re: =?iso-8859-1?q?caf=E9?= ok", "Re: caf\xE9 ok"},
      {"=?x?U?#86)C?=", "abc"},
      {"=?x?b?YWJj?=", "abc"},                // the letter's case does not matter
      {"=?x?B?YQBi?=", "a"},                  // cut at the first zero byte
      {"=?x?Q?=3D=3Fx=3FQ=3Fy=3F=3D?=", "y"}, // decoded text decoded again
      {"=?x?Q?a?= tail =?y", "a tail =?y"},
      {"=?broken =?x?Q?b?=", "Q?b"}, // the charset runs to the next "?", inside the second word
      {"=?x?Q?a_b", "=?x?Q?a_b"},
      {"=?x?Q?", "=?x?Q?"},
      {"=?\?=", "=?\?="}, // the "?=" must start after the charset's "?"
      {"=?\?\?=", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DecodeHeaderWords(c.input), c.expected) << c.input;
}

TEST(DecodeHeaderWords, UuencodedWordWithBadCharacterFails) {
  try {
    DecodeHeaderWords("=?x?U?#86)c?=");
    ADD_FAILURE() << "no error";
  } catch (const MimeError& e) {
    EXPECT_STREQ(e.what(), "UUCODE message format error");
  }
}

} // namespace
} // namespace mime
