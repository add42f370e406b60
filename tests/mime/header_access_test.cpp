#include "message_text.h"
#include "mime/mail_date.h"
#include "mime/mail_message.h"
#include "mime/mime_error.h"

#include <gtest/gtest.h>
#include <string>

namespace mime {
namespace {

using testing::Lines;

std::string HeaderOnly(std::string_view line) {
  return Lines({line, "", "body"});
}

TEST(ReadingHeaders, FoldedFieldJoinsWithOneBlank) {
  TMailMessage2000 m;
  m.ParseText(Lines({"Subject: Hello", "\tWorld", "To:  a@b", "  ,c@d", "", "body"}));
  ASSERT_EQ(m.Headers.size(), 2u);
  EXPECT_EQ(m.Headers[0], "Subject: Hello World");
  EXPECT_EQ(m.Headers[1], "To: a@b ,c@d");
}

TEST(ReadingHeaders, ContinuationBeforeAnyLineStandsAlone) {
  TMailMessage2000 m;
  m.ParseText(Lines({" x-first: 1", "Subject: s", "", "b"}));
  ASSERT_EQ(m.Headers.size(), 2u);
  EXPECT_EQ(m.Headers[0], "x-First: 1"); // the blank took the capital
  EXPECT_EQ(m.Headers[1], "Subject: s");
}

TEST(ReadingHeaders, LoneCrAndLfStayInsideTheLine) {
  TMailMessage2000 m;
  m.ParseText("Subject: a\rb\nc\r\n\r\nbody");
  ASSERT_EQ(m.Headers.size(), 1u);
  EXPECT_EQ(m.Headers[0], "Subject: a\rb\nc");
}

struct ValueCase {
  std::string line;
  std::string expected_subject;
};

TEST(HeaderValue, SubjectTable) {
  const ValueCase cases[] = {
      {"subject:x", "x"},
      {"SUBJECT: x", "x"},
      {"Subject : x", ""},
      {"Subject: \"quoted\"", "quoted"},
      {"Subject: 'a'", "a"},
      {"Subject: \"\"", ""},
      {"Subject: ab\"cd", "ab"},
      {"Subject: Re: minutes; agenda", "Re: minutes"},
      {"Subject: 'a\"", "'a"}, // the unclosed quote is dropped first
      {"Subject: \"a\" and 'b'", "a\" and 'b"},
      {"Subjects: x", ""},
  };
  for (const auto& c : cases) {
    TMailMessage2000 m;
    m.ParseText(HeaderOnly(c.line));
    EXPECT_EQ(m.HeaderValue("Subject"), c.expected_subject) << c.line;
  }
}

TEST(HeaderValue, SemicolonEndsAddressValue) {
  TMailMessage2000 m;
  m.ParseText(HeaderOnly("To: a@example.org; b@example.com"));
  EXPECT_EQ(m.HeaderValue("To"), "a@example.org");
}

TEST(HeaderValue, FirstOfTwoFieldsWins) {
  TMailMessage2000 m;
  m.ParseText(Lines({"Subject: one", "Subject: two", "", ""}));
  EXPECT_EQ(m.HeaderValue("Subject"), "one");
  EXPECT_TRUE(m.HasHeader("subject"));
  EXPECT_FALSE(m.HasHeader("From"));
}

TEST(HeaderParam, BoundaryOfContentType) {
  TMailMessage2000 m;
  m.ParseText(Lines({"Content-Type: multipart/mixed; boundary=\"=_abc\"", "", ""}));
  EXPECT_EQ(m.HeaderValue("Content-Type"), "multipart/mixed");
  EXPECT_EQ(m.HeaderParam("Content-Type", "BOUNDARY"), "=_abc");
  EXPECT_EQ(m.Boundary(), "=_abc");
  EXPECT_EQ(m.HeaderParam("Content-Type", "charset"), "");
  EXPECT_EQ(m.HeaderParam("X-Missing", "boundary"), "");
}

TEST(SetHeader, ReplacesAddsAndRemoves) {
  TMailMessage2000 m;
  m.ParseText(Lines({"Content-Type: text/plain; charset=x", "Subject: s", "", ""}));
  m.SetHeader("Content-Type", "text/html");
  EXPECT_EQ(m.Headers[0], "Content-Type: text/html; charset=x");
  m.SetHeader("Label", "value");
  EXPECT_EQ(m.Headers.back(), "Label: value");
  m.SetHeader("subject", "");
  ASSERT_EQ(m.Headers.size(), 2u);
  EXPECT_FALSE(m.HasHeader("Subject"));
  m.SetHeader("Missing", ""); // removing what is not there changes nothing
  EXPECT_EQ(m.Headers.size(), 2u);
}

TEST(SetHeaderParam, SetsOrAppends) {
  TMailMessage2000 m;
  m.ParseText(Lines({"Content-Type: text/plain", "", ""}));
  m.SetHeaderParam("Content-Type", "charset", "\"iso-8859-1\"");
  EXPECT_EQ(m.Headers[0], "Content-Type: text/plain; charset=\"iso-8859-1\"");
  m.SetHeaderParam("Content-Type", "CHARSET", "\"utf-8\"");
  EXPECT_EQ(m.Headers[0], "Content-Type: text/plain; charset=\"utf-8\"");
  m.SetHeaderParam("Content-Disposition", "filename", "\"a\"");
  EXPECT_EQ(m.Headers.back(), "Content-Disposition:; filename=\"a\"");
}

struct AddressCase {
  std::string value;
  int index;
  std::string expected;
};

TEST(HeaderAddress, Table) {
  const AddressCase cases[] = {
      {"\"Doe, Jane\" <jane@example.org>", 0, "jane@example.org"},
      {"Jane Doe <jane@example.org>, bob@example.com", 0, "jane@example.org"},
      {"Jane Doe <jane@example.org>, bob@example.com", 1, "bob@example.com"},
      {"Jane Doe <jane@example.org>, bob@example.com", 2, ""},
      {"jane@example.org (Jane Doe)", 0, "jane@example.org(JaneDoe)"},
      {"<>", 0, ""},
      {"\"Jane Doe\" <>", 0, ""},
      {"\"Jane\"", 0, "Jane"}, // enclosing quotes go before the walk
      {"a@b; c@d", 1, ""},     // the value ends at the semicolon
      {"<a@b> trailing", 0, "a@b"},
  };
  for (const auto& c : cases) {
    TMailMessage2000 m;
    m.ParseText(HeaderOnly("From: " + c.value));
    EXPECT_EQ(m.HeaderAddress("From", c.index), c.expected) << c.value << " #" << c.index;
  }
}

TEST(Accessors, MissingFieldsAreEmpty) {
  TMailMessage2000 m;
  m.ParseText(HeaderOnly("X-Other: 1"));
  EXPECT_EQ(m.FromText(), "");
  EXPECT_EQ(m.SubjectText(), "");
  EXPECT_EQ(m.ToList.RecipientsText(), "");
  EXPECT_EQ(m.DateValue(), 0);
  EXPECT_EQ(m.HeaderValue("Subject"), "");
}

TEST(Accessors, SubjectIsDecoded) {
  TMailMessage2000 m;
  m.ParseText(HeaderOnly("Subject: =?utf-8?B?SGVsbG8=?= =?x?Q?w=F6rld?="));
  EXPECT_EQ(m.SubjectText(), "Hello w\xF6rld");
}

TEST(Accessors, UuencodedSubjectWithBadCharacterFails) {
  TMailMessage2000 m;
  m.ParseText(HeaderOnly("Subject: =?x?U?#86)c?="));
  EXPECT_THROW(m.SubjectText(), MimeError);
}

TEST(Accessors, DateValueOfTheDateField) {
  TMailMessage2000 m;
  m.ParseText(HeaderOnly("Date:   Mon, 5 Jan 2004 10:20:30 +0100  "));
  const double expected = 37991 + (9 * 3600 + 20 * 60 + 30) / 86400.0 + LocalTimeBias();
  EXPECT_NEAR(m.DateValue(), expected, 1e-7);
  m.ParseText(HeaderOnly("Date: soon"));
  EXPECT_EQ(m.DateValue(), 0);
}

TEST(Accessors, FromTable) {
  const ValueCase cases[] = {
      {"From: <>", ""},
      {"From: \"Jane Doe\" <>", ""},
      {"From: \"Jane\"", "Jane"},
      {"From: Jane <jane@example.org>", "jane@example.org"},
  };
  for (const auto& c : cases) {
    TMailMessage2000 m;
    m.ParseText(HeaderOnly(c.line));
    EXPECT_EQ(m.FromText(), c.expected_subject) << c.line;
  }
}

} // namespace
} // namespace mime
