#include "message_text.h"
#include "mime/content_type.h"
#include "mime/mail_message.h"
#include "mime/mime_error.h"

#include <gtest/gtest.h>
#include <string>

namespace mime {
namespace {

using testing::Lines;

std::string RegisteredGif(std::string_view extension) {
  return extension == ".gif" ? "image/gif" : "";
}

class UuencodeConversion : public ::testing::Test {
protected:
  void TearDown() override { SetContentTypeLookup(nullptr); }
};

bool IsNewBoundary(const std::string& b) {
  if (b.size() != 16 || b.substr(0, 8) != "boundary")
    return false;
  for (char c : b.substr(8))
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F')))
      return false;
  return true;
}

TEST_F(UuencodeConversion, SingleBlockBecomesMultipartMixed) {
  TMailMessage2000 m;
  m.ParseText(Lines({"From: a@example.org", "Subject: files", "", "See attached.",
                     "begin 644 x.bin", "#86)C", "`", "end"}));
  m.RebuildBody();

  ASSERT_EQ(m.Headers.size(), 4u);
  EXPECT_EQ(m.Headers[0], "From: a@example.org");
  EXPECT_EQ(m.Headers[1], "Subject: files");
  const std::string boundary = m.SubParts()[0].ParentBoundary;
  ASSERT_TRUE(IsNewBoundary(boundary)) << boundary;
  EXPECT_EQ(m.Headers[2], "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"");
  EXPECT_EQ(m.Boundary(), boundary);

  ASSERT_EQ(m.SubParts().Count(), 2);
  const TMailPart& attachment = m.SubParts()[1];
  EXPECT_EQ(attachment.DecodedBody, "abc");
  EXPECT_EQ(attachment.ParentBoundary, boundary);
  EXPECT_EQ(attachment.ParentPart(), &m);

  const std::string expected_body = "This is a multipart message in mime format.\r\n"
                                    "\r\n--" +
                                    boundary +
                                    "\r\n"
                                    "Content-Type: text/plain; charset=\"iso-8859-1\"\r\n"
                                    "Content-Transfer-Encoding: quoted-printable\r\n"
                                    "\r\n"
                                    "See attached.\r\n"
                                    "\r\n--" +
                                    boundary +
                                    "\r\n"
                                    "Content-Transfer-Encoding: base64\r\n"
                                    "Content-Type: application/octet-stream; name=\"x.bin\"\r\n"
                                    "Content-Disposition: attachment; filename=\"x.bin\"\r\n"
                                    "\r\n"
                                    "YWJj\r\n"
                                    "\r\n--" +
                                    boundary + "--\r\n";
  EXPECT_EQ(m.Body, expected_body);
  EXPECT_EQ(m.Headers[3], "Content-Length: " + std::to_string(expected_body.size()));
}

TEST_F(UuencodeConversion, TextPartIsQuotedPrintableWithConfiguredCharset) {
  SetContentTypeLookup(&RegisteredGif);
  TMailMessage2000 m;
  m.Charset = "windows-1252";
  m.ParseText(Lines({"Subject: s", "", "caf\xE9 = ok", "begin 644 photo.gif", "#86)C", "end",
                     "dropped text", "begin 600 a.txt", "end", "dropped too"}));
  ASSERT_EQ(m.SubParts().Count(), 3);
  const TMailPart& text = m.SubParts()[0];
  EXPECT_EQ(text.Headers, (HeaderLines{"Content-Type: text/plain; charset=\"windows-1252\"",
                                       "Content-Transfer-Encoding: quoted-printable"}));
  EXPECT_EQ(text.Body, "caf=E9 =3D ok\r\n");
  EXPECT_EQ(m.Body, "caf\xE9 = ok\r\n"); // the message keeps its text until the rebuild

  const TMailPart& gif = m.SubParts()[1];
  EXPECT_EQ(gif.Headers[1], "Content-Type: image/gif; name=\"photo.gif\"");
  // A second block makes no second text part and takes its own name; it is empty.
  const TMailPart& empty = m.SubParts()[2];
  EXPECT_EQ(empty.Headers[1], "Content-Type: application/octet-stream; name=\"a.txt\"");
  EXPECT_EQ(empty.DecodedBody, "");
  EXPECT_EQ(empty.Body, "");
}

TEST_F(UuencodeConversion, BlockWithoutEndMakesNoAttachment) {
  TMailMessage2000 m;
  m.ParseText(Lines({"Subject: s", "", "text", "begin 644 x.bin", "#86)C"}));
  ASSERT_EQ(m.SubParts().Count(), 1); // only the text part
  EXPECT_TRUE(m.HasHeader("Content-Type"));
}

TEST_F(UuencodeConversion, LowerCaseLetterInBlockFails) {
  TMailMessage2000 m;
  try {
    m.ParseText(Lines({"Subject: s", "", "text", "begin 644 x.bin", "#86)c", "end"}));
    ADD_FAILURE() << "no error";
  } catch (const MimeError& e) {
    EXPECT_STREQ(e.what(), "UUCODE message format error");
  }
  // What was built before the failing block stays.
  EXPECT_EQ(m.Headers[0], "Subject: s");
  EXPECT_EQ(m.SubParts().Count(), 1);
  EXPECT_TRUE(m.BodyChanged);
}

TEST_F(UuencodeConversion, BeLineAfterABlockMakesTheNextEndFail) {
  TMailMessage2000 m;
  EXPECT_THROW(m.ParseText(Lines(
                   {"", "begin 644 x.bin", "#86)C", "end", "later text", "be seeing you", "end"})),
               MimeError);
  EXPECT_EQ(m.SubParts().Count(), 2);
}

TEST_F(UuencodeConversion, EndAfterBlockIsOrdinaryText) {
  TMailMessage2000 m;
  m.ParseText(Lines({"", "begin 644 x.bin", "#86)C", "end", "end", "#86)C"}));
  ASSERT_EQ(m.SubParts().Count(), 2);
  EXPECT_EQ(m.SubParts()[1].DecodedBody, "abc");
}

TEST_F(UuencodeConversion, MultipartChildWithoutContentTypeIsConverted) {
  TMailMessage2000 m;
  m.ParseText(Lines({"Content-Type: multipart/mixed; boundary=B", "", "--B", "X-Note: none", "",
                     "hi", "begin 644 y.dat", "#86)C", "end", "--B--"}));
  ASSERT_EQ(m.SubParts().Count(), 1);
  const TMailPart& child = m.SubParts()[0];
  EXPECT_EQ(child.ParentBoundary, "B");
  EXPECT_EQ(child.HeaderValue("Content-Type"), "multipart/mixed");
  ASSERT_EQ(child.SubParts().Count(), 2);
  EXPECT_EQ(child.SubParts()[0].Body, "hi\r\n");
  EXPECT_EQ(child.SubParts()[1].ParentPart(), &child);
  EXPECT_EQ(child.SubParts()[1].OwnerMessage(), &m);
  EXPECT_EQ(child.SubParts()[1].DecodedBody, "abc");
}

TEST(ContentTypeOfFile, ExtensionsAndFallback) {
  EXPECT_EQ(FileExtension("photo.gif"), ".gif");
  EXPECT_EQ(FileExtension("a.b\\c"), "");
  EXPECT_EQ(FileExtension("c:name"), "");
  EXPECT_EQ(FileExtension("dir.d\\x.tar.gz"), ".gz");
  EXPECT_EQ(FileExtension("noext"), "");
  EXPECT_EQ(ContentTypeOfFile("photo.gif"), "application/octet-stream");
  SetContentTypeLookup(&RegisteredGif);
  EXPECT_EQ(ContentTypeOfFile("photo.gif"), "image/gif");
  EXPECT_EQ(ContentTypeOfFile("photo.png"), "application/octet-stream");
  SetContentTypeLookup(nullptr);
  EXPECT_EQ(ContentTypeOfFile("photo.gif"), "application/octet-stream");
}

} // namespace
} // namespace mime
