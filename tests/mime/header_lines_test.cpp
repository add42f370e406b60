#include "mime/header_lines.h"

#include <gtest/gtest.h>
#include <string>

namespace mime {
namespace {

struct Case {
  std::string input;
  std::string expected;
};

TEST(NormalizeHeaderLine, Table) {
  const Case cases[] = {
      {"content-type:  text/plain", "Content-Type: text/plain"},
      {"MESSAGE-ID:<x@y>", "Message-ID: <x@y>"},
      {"X-MSMAIL-PRIORITY: Normal", "X-Msmail-Priority: Normal"},
      {"Subject: a   \"b   c\"   d", "Subject: a \"b   c\" d"},
      {"garbage", "Garbage "},
      {"Subject: ab\"cd", "Subject: ab"}, // an unclosed quoted string is dropped
      {"content-id:<a>", "Content-ID: <a>"},
      {"x-id-card: 1", "X-Id-Card: 1"}, // "-I" only becomes "-ID" right before the colon
      {"Subject : x", "Subject : x"},
      {"Subject:\tx  y\t", "Subject: \tx y\t"},
      {"Subject: a: b", "Subject: a: b"},
      {"", " "},
      {":x", ": x"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NormalizeHeaderLine(c.input), c.expected) << c.input;
}

TEST(FindHeaderLine, FirstCaseInsensitivePrefix) {
  const HeaderLines lines = {"Received: x", "Subject: one", "SUBJECT: two", "Sub"};
  EXPECT_EQ(FindHeaderLine(lines, "subject:"), 1);
  EXPECT_EQ(FindHeaderLine(lines, "Received:"), 0);
  EXPECT_EQ(FindHeaderLine(lines, "From:"), -1);
  EXPECT_EQ(FindHeaderLine({}, "From:"), -1);
}

TEST(HeaderMainValue, Table) {
  const Case cases[] = {
      {"Subject: Re: minutes; agenda", "Re: minutes"},
      {"Content-Type: multipart/mixed; boundary=\"=_abc\"", "multipart/mixed"},
      {"Subject: \"a;b\" c", "\"a;b\" c"},
      {"Subject: \"quoted\"", "quoted"},
      {"Subject: \"", ""},
      {"Subject:", ""},
      {"no colon", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HeaderMainValue(c.input), c.expected) << c.input;
}

struct ParamCase {
  std::string line;
  std::string name;
  std::string expected;
};

TEST(LineParam, Table) {
  const ParamCase cases[] = {
      {"Content-Type: multipart/mixed; boundary=\"=_abc\"", "BOUNDARY", "=_abc"},
      {"Content-Type: multipart/mixed; boundary=abc=def", "boundary", "abc"},
      {"Content-Type: text/plain; charset=x; name=\"a;b\"", "name", "a;b"},
      {"Content-Type: text/plain; charset=x; charset=y", "charset", "xy"},
      {"Content-Type: text/plain; charset = x ;", "charset", "x"},
      {"Content-Type: text/plain", "charset", ""},
      {"Content-Type: a=b; c=d", "a", ""}, // the main value holds no parameters
      {"Content-Type: x; name=", "name", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LineParam(c.line, c.name), c.expected) << c.line;
}

struct ReplaceCase {
  std::string line;
  std::string value;
  std::string expected;
};

TEST(ReplaceMainValue, Table) {
  const ReplaceCase cases[] = {
      {"Content-Type: text/plain; charset=x", "text/html", "Content-Type: text/html; charset=x"},
      {"Label: ", "value", "Label: value"},
      {"Label: old", "  new  ", "Label: new"},
      {"no colon", "x", "no colon"},
      {"\"a:b\" Label: old", "new", "\"a:b\" Label: new"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReplaceMainValue(c.line, c.value), c.expected) << c.line;
}

struct ReplaceParamCase {
  std::string line;
  std::string name;
  std::string value;
  std::string expected;
};

TEST(ReplaceParam, Table) {
  const ReplaceParamCase cases[] = {
      {"Content-Type: text/plain", "charset", "\"iso-8859-1\"",
       "Content-Type: text/plain; charset=\"iso-8859-1\""},
      {"Content-Type: text/plain; charset=x; format=flowed", "CHARSET", "y",
       "Content-Type: text/plain; charset=y; format=flowed"},
      {"Content-Type: text/plain; charset=x", "charset", " y ",
       "Content-Type: text/plain; charset=y"},
      {"Content-Type: text/plain;", "name", "\"a\"", "Content-Type: text/plain;; name=\"a\""},
      {"Content-Type: text/plain; name=\"a;b\"", "name", "\"c\"",
       "Content-Type: text/plain; name=\"c\""},
      {"Content-Type: text/plain; charset=x;", "charset", "y",
       "Content-Type: text/plain; charset=y"},
      {"Label: ", "name", "v", "Label:; name=v"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReplaceParam(c.line, c.name, c.value), c.expected) << c.line;
}

TEST(StripQuotes, Table) {
  EXPECT_EQ(StripDoubleQuotes("\"a\""), "a");
  EXPECT_EQ(StripDoubleQuotes("\""), "");
  EXPECT_EQ(StripDoubleQuotes("'a'"), "'a'");
  EXPECT_EQ(StripAnyQuotes("'a\""), "a");
  EXPECT_EQ(StripAnyQuotes("\"\""), "\"\"");
  EXPECT_EQ(StripAnyQuotes("ab"), "ab");
}

} // namespace
} // namespace mime
