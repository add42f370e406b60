#include "message_text.h"
#include "mime/mail_message.h"
#include "mime/mime_error.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace mime {
namespace {

using testing::Lines;

TEST(ParseText, PlainBodyAndContentLength) {
  TMailMessage2000 m;
  m.ParseText("Content-Type: text/plain\r\n\r\nHi\r\n");
  EXPECT_TRUE(m.SubParts().Empty());
  EXPECT_EQ(m.Body, "Hi\r\n");
  EXPECT_TRUE(m.BodyChanged);
  m.RebuildBody();
  EXPECT_FALSE(m.BodyChanged);
  EXPECT_EQ(m.Headers.back(), "Content-Length: 4");
  EXPECT_EQ(m.Body, "Hi\r\n");
}

TEST(ParseText, EmptyText) {
  TMailMessage2000 m;
  std::vector<std::pair<int, int>> events;
  m.OnProgress = [&](TMailPart& sender, std::int32_t total, std::int32_t current) {
    EXPECT_EQ(&sender, &m);
    events.emplace_back(total, current);
  };
  m.ParseText("");
  EXPECT_TRUE(m.Headers.empty());
  EXPECT_EQ(m.Body, "");
  EXPECT_TRUE(m.SubParts().Empty());
  EXPECT_EQ(events, (std::vector<std::pair<int, int>>{{0, 0}, {0, 0}}));
}

TEST(ParseText, HeaderWithoutEmptyLine) {
  TMailMessage2000 m;
  m.ParseText("Subject: a\r\nFrom: b\r\n");
  EXPECT_EQ(m.Headers, (HeaderLines{"Subject: a", "From: b"}));
  EXPECT_EQ(m.Body, "");
}

TEST(ParseText, TextEndsAtZeroByte) {
  TMailMessage2000 m;
  std::string text = "Subject: a\r\n\r\nbody";
  text += '\0';
  text += "Subject: hidden\r\n\r\nmore";
  m.ParseText(text);
  EXPECT_EQ(m.Headers, HeaderLines{"Subject: a"});
  EXPECT_EQ(m.Body, "body");
}

TEST(ParseText, NoContentTypeAndNoBeginLineKeepsWholeBody) {
  TMailMessage2000 m;
  const std::string body = "line one\r\nbegin 5 not a block\r\nend\r\n";
  m.ParseText("Subject: x\r\n\r\n" + body);
  EXPECT_EQ(m.Body, body);
  EXPECT_TRUE(m.SubParts().Empty());
  EXPECT_FALSE(m.HasHeader("Content-Type"));
}

std::string MixedMessage() {
  return Lines({"From: a@example.org", "Content-Type: multipart/mixed; boundary=\"B\"", "", "pre",
                "--B", "Content-Type: text/plain", "", "Hello", "--B extra",
                "Content-Type: text/plain", "", "World", "", "--B", "--B--", "post"});
}

TEST(ParseText, MultipartPreambleChildrenAndEpilogue) {
  TMailMessage2000 m;
  m.ParseText(MixedMessage());
  EXPECT_EQ(m.Body, "pre\r\n");
  ASSERT_EQ(m.SubParts().Count(), 2);
  const TMailPart& first = m.SubParts()[0];
  const TMailPart& second = m.SubParts()[1];
  EXPECT_EQ(first.Body, "Hello\r\n");  // the CR LF before the delimiter belongs to the body
  EXPECT_EQ(second.Body, "World\r\n"); // also with an empty line before it
  EXPECT_EQ(first.Headers, HeaderLines{"Content-Type: text/plain"});
  EXPECT_EQ(first.ParentBoundary, "B");
  EXPECT_EQ(first.ParentPart(), &m);
  EXPECT_EQ(first.OwnerMessage(), &m);
  EXPECT_EQ(m.ParentPart(), nullptr);
  EXPECT_EQ(m.OwnerMessage(), &m);
  EXPECT_TRUE(first.SubParts().Empty());

  m.RebuildBody();
  const std::string expected_body = "This is a multipart message in mime format.\r\n"
                                    "\r\n--B\r\nContent-Type: text/plain\r\n\r\nHello\r\n"
                                    "\r\n--B\r\nContent-Type: text/plain\r\n\r\nWorld\r\n"
                                    "\r\n--B--\r\n";
  EXPECT_EQ(m.Body, expected_body);
  EXPECT_EQ(m.Headers.back(), "Content-Length: " + std::to_string(expected_body.size()));
  EXPECT_EQ(m.Body.find("post"), std::string::npos);
}

TEST(ParseText, RebuildOnlyOnceAfterAParse) {
  TMailMessage2000 m;
  m.ParseText(MixedMessage());
  m.RebuildBody();
  const auto headers = m.Headers;
  const std::string body = m.Body;
  m.RebuildBody();
  EXPECT_EQ(m.Headers, headers);
  EXPECT_EQ(m.Body, body);
}

TEST(ParseText, DelimiterMatchingIsCaseSensitiveAndPrefixed) {
  TMailMessage2000 m;
  m.ParseText(Lines({"Content-Type: multipart/mixed; boundary=B", "", "--b", "x", "--B", "--B",
                     "A: 1", "", "y", "--Bz", "A: 2", "", "z"}));
  EXPECT_EQ(m.Body, "--b\r\nx\r\n");
  // Two delimiter lines in a row make no empty child; "--Bz" is a delimiter too; the lines
  // after the last delimiter make no child without a close delimiter.
  ASSERT_EQ(m.SubParts().Count(), 1);
  EXPECT_EQ(m.SubParts()[0].Body, "y\r\n");
}

TEST(ParseText, MultipartWithoutDelimiterStaysWhole) {
  TMailMessage2000 m;
  m.ParseText(Lines({"Content-Type: multipart/mixed; boundary=B", "", "just text", "--C"}));
  EXPECT_EQ(m.Body, "just text\r\n--C\r\n");
  EXPECT_TRUE(m.SubParts().Empty());
}

TEST(ParseText, MissingBoundaryMakesEveryDashLineADelimiter) {
  TMailMessage2000 m;
  m.ParseText(Lines({"Content-Type: multipart/mixed", "", "pre", "--", "A: 1", "", "x", "----"}));
  EXPECT_EQ(m.Body, "pre\r\n");
  ASSERT_EQ(m.SubParts().Count(), 1);
  EXPECT_EQ(m.SubParts()[0].ParentBoundary, "");
}

TEST(ParseText, NestedAlternativeInMixed) {
  TMailMessage2000 m;
  m.ParseText(Lines({"Content-Type: Multipart/Mixed; boundary=\"outer\"",
                     "",
                     "--outer",
                     "Content-Type: multipart/alternative; boundary=inner",
                     "",
                     "inner preamble",
                     "--inner",
                     "Content-Type: text/plain",
                     "",
                     "plain",
                     "--inner",
                     "Content-Type: text/html",
                     "",
                     "<p>html</p>",
                     "--inner--",
                     "--outer",
                     "Content-Type: application/octet-stream",
                     "",
                     "AAAA",
                     "--outer--"}));
  ASSERT_EQ(m.SubParts().Count(), 2);
  const TMailPart& alternative = m.SubParts()[0];
  ASSERT_EQ(alternative.SubParts().Count(), 2);
  EXPECT_EQ(alternative.Body, "inner preamble\r\n");
  EXPECT_EQ(alternative.ParentBoundary, "outer");
  EXPECT_EQ(alternative.SubParts()[1].ParentBoundary, "inner");
  EXPECT_EQ(alternative.SubParts()[1].ParentPart(), &alternative);
  EXPECT_EQ(alternative.SubParts()[1].OwnerMessage(), &m);
  EXPECT_EQ(alternative.SubParts()[1].Body, "<p>html</p>\r\n");

  m.RebuildBody();
  EXPECT_EQ(m.Body, "This is a multipart message in mime format.\r\n"
                    "\r\n--outer\r\nContent-Type: multipart/alternative; boundary=inner\r\n\r\n"
                    "\r\n--inner\r\nContent-Type: text/plain\r\n\r\nplain\r\n"
                    "\r\n--inner\r\nContent-Type: text/html\r\n\r\n<p>html</p>\r\n"
                    "\r\n--inner--\r\n"
                    "\r\n--outer\r\nContent-Type: application/octet-stream\r\n\r\nAAAA\r\n"
                    "\r\n--outer--\r\n");
}

TEST(ParseText, LongBoundariesWork) {
  const std::string boundary(300, 'q');
  TMailMessage2000 m;
  m.ParseText(
      Lines({"Content-Type: multipart/mixed; boundary=\"" + boundary + "\"", "", "--" + boundary,
             "A: 1", "", "x", "--" + boundary.substr(0, 299), "y", "--" + boundary + "--"}));
  ASSERT_EQ(m.SubParts().Count(), 1);
  EXPECT_EQ(m.SubParts()[0].Body, "x\r\n--" + boundary.substr(0, 299) + "\r\ny\r\n");
}

TEST(ParseText, DeepNestingStopsSplittingAtTwoHundredLevels) {
  std::string text;
  std::string closing;
  for (int level = 0; level < 1000; ++level) {
    // Appended rather than "b" + …, which GCC 12 at -O3 takes for an overlapping copy.
    const std::string boundary = std::string("b").append(std::to_string(level)).append("x");
    text += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n--" + boundary +
            "\r\n";
    closing = "--" + boundary + "--\r\n" + closing;
  }
  text += "Content-Type: text/plain\r\n\r\nleaf\r\n" + closing;
  TMailMessage2000 m;
  m.ParseText(text);
  const TMailPart* part = &m;
  int depth = 0;
  while (!part->SubParts().Empty()) {
    part = &part->SubParts()[0];
    ++depth;
  }
  EXPECT_EQ(depth, 200);
  EXPECT_EQ(part->Body.rfind("--b200x\r\n", 0), 0u);
  m.RebuildBody();
  EXPECT_EQ(m.HeaderValue("Content-Length"), std::to_string(m.Body.size()));
}

TEST(ParseText, ReparseDestroysTheOldTree) {
  TMailMessage2000 m;
  m.ParseText(MixedMessage());
  ASSERT_EQ(m.SubParts().Count(), 2);
  m.ParseText("Subject: plain\r\n\r\ntext");
  EXPECT_TRUE(m.SubParts().Empty());
  EXPECT_EQ(m.Headers, HeaderLines{"Subject: plain"});
  EXPECT_EQ(m.Body, "text");
}

TEST(ParseText, ParsingOwnBodyIsSafe) {
  TMailMessage2000 m;
  m.ParseText(MixedMessage());
  m.ParseText(m.SubParts()[0].Body);
  EXPECT_EQ(m.Headers, HeaderLines{"Hello "});
}

TEST(ParseBuffer, UnownedPartRefuses) {
  TMailPart part;
  part.Name = "Part1";
  part.Body = "kept";
  try {
    part.ParseText("Subject: x\r\n\r\nbody");
    ADD_FAILURE() << "no error";
  } catch (const MimeError& e) {
    EXPECT_STREQ(e.what(), "Part1: TMailPart must be owned by a TMailMessage2000");
  }
  EXPECT_EQ(part.Body, "kept");
}

TEST(ParseBuffer, WithoutHeaderSection) {
  TMailMessage2000 m;
  m.ParseBuffer("Subject: not a header\r\nline\r\n", false);
  EXPECT_TRUE(m.Headers.empty());
  EXPECT_EQ(m.Body, "Subject: not a header\r\nline\r\n");
}

TEST(Progress, OnlyTheMessageWalkReports) {
  TMailMessage2000 m;
  std::vector<int> positions;
  int total = -1;
  m.OnProgress = [&](TMailPart&, std::int32_t t, std::int32_t current) {
    total = t;
    positions.push_back(current);
  };
  const std::string text = MixedMessage();
  m.ParseText(text);
  EXPECT_EQ(total, static_cast<int>(text.size()));
  ASSERT_GE(positions.size(), 3u);
  EXPECT_EQ(positions.front(), 0);
  EXPECT_EQ(positions.back(), static_cast<int>(text.size()));
  // Start and end, and one report per line taken (15 of the 16; the epilogue is never
  // taken) except the first header line and the first body line.
  EXPECT_EQ(positions.size(), 2u + 13u);
  for (std::size_t i = 1; i + 1 < positions.size(); ++i) {
    EXPECT_GT(positions[i], positions[i - 1]);
    EXPECT_EQ(text.substr(static_cast<std::size_t>(positions[i]) - 3, 2), "\r\n");
  }
}

} // namespace
} // namespace mime
