// What only iconv's side of the converter does: stateful encodings end with their shift
// back, and surrogates are no UTF-8.
#include "platform/charset.h"

#include <gtest/gtest.h>

namespace {

TEST(ConvertToUtf8WithIconv, StatefulEncodingsAndSurrogates) {
  EXPECT_EQ(platform::ConvertToUtf8("iso-2022-jp", "\x1B$B$3$s\x1B(Bx"),
            "\xE3\x81\x93\xE3\x82\x93x");
  EXPECT_EQ(platform::ConvertToUtf8("utf-8", "\xED\xA0\x80x"),
            "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDx");
}

} // namespace
