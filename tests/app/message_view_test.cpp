// Reading a message before saving it: header fields in their character sets, the text
// chosen and decoded, attachments decoded and saved safely, and calm on damaged text.
#include "app/display_text.h"
#include "app/message_view.h"
#include "mime/base64.h"
#include "platform/path_separator.h"
#include "save_fixture.h"
#include "store/uoexpress.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <random>

namespace testenv {
namespace {

namespace fs = std::filesystem;
using namespace std::literals;

std::string Header(const std::string& fields, const std::string& body = "Text.\r\n") {
  return fields + "\r\n" + body;
}

struct FieldCase {
  const char* what;
  std::string header; // the header lines
  std::string subject;
  std::string from;
};

TEST(MessageView, HeaderFieldsAreDecodedInTheirCharacterSets) {
  const FieldCase cases[] = {
      {"plain", "Subject: Hello\r\nFrom: a@example.org\r\n", "Hello", "a@example.org"},
      {"Q in Latin-1, lower-case hex", "Subject: =?iso-8859-1?Q?Gr=fc=DFe?=\r\n",
       "Gr\xC3\xBC\xC3\x9F"
       "e",
       ""},
      {"B in UTF-8", "Subject: =?utf-8?B?R3LDvMOfZQ==?=\r\n",
       "Gr\xC3\xBC\xC3\x9F"
       "e",
       ""},
      {"KOI8-R display name", "From: =?koi8-r?B?8NLJ18XU?= <p@example.ru>\r\n", "",
       "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 <p@example.ru>"},
      {"blank between words goes, blank beside text stays",
       "Subject: =?utf-8?Q?a?= =?utf-8?Q?b?= c =?utf-8?Q?d?=\r\n", "ab c d", ""},
      {"a character split between two words",
       "Subject: =?utf-8?B?w7w=?= =?utf-8?B?w58=?= =?utf-8?B?4oI=?= =?utf-8?B?rA==?=\r\n",
       "\xC3\xBC\xC3\x9F\xE2\x82\xAC", ""},
      {"folded, underscore, unknown charset as Latin-1",
       "Subject: first\r\n\tsecond =?x-unknown?Q?caf=E9_au_lait?=\r\n",
       "first\tsecond caf\xC3\xA9 au lait", ""},
      {"8-bit bytes without encoded words",
       "Subject: Pr\xE9"
       "avis\r\n",
       "Pr\xC3\xA9"
       "avis",
       ""},
      {"not encoded words: blanks inside, no end", "Subject: =?utf-8?Q?a b?= =?utf-8?B?YQ\r\n",
       "=?utf-8?Q?a b?= =?utf-8?B?YQ", ""},
      {"label case, blank before the colon, first of two",
       "SUBJECT : one\r\nSubject: two\r\nfrom:x@y\r\n", "one", "x@y"},
  };
  for (const FieldCase& c : cases) {
    const app::MessageView view = app::ViewMessage(Header(c.header));
    EXPECT_EQ(view.subject, c.subject) << c.what;
    EXPECT_EQ(view.from, c.from) << c.what;
  }
}

TEST(MessageView, ToCcAndDate) {
  const app::MessageView view = app::ViewMessage(Header(
      "To: \"Doe, Jane\" <jane@example.org>, bob@example.com\r\nCc: "
      "=?iso-8859-1?Q?J=F6rg?= <j@example.de>\r\nDate: Mon,  3 Mar 2003 10:20:30 +0000\r\n"));
  EXPECT_EQ(view.to, "\"Doe, Jane\" <jane@example.org>, bob@example.com");
  EXPECT_EQ(view.cc, "J\xC3\xB6rg <j@example.de>");
  EXPECT_EQ(view.date, "Mon,  3 Mar 2003 10:20:30 +0000");
  EXPECT_NE(view.date_value, 0);
  EXPECT_EQ(app::ViewMessage(Header("Date: never\r\n")).date_value, 0);
}

const std::string kPdf = "%PDF-1.4\n\x01\x02\xFF binary \r\n bytes";

std::string Multipart(const std::string& parts) {
  return "From: a@example.org\r\nSubject: parts\r\nMIME-Version: 1.0\r\n"
         "Content-Type: multipart/mixed; boundary=\"B1\"\r\n\r\npreamble\r\n" +
         parts + "--B1--\r\nepilogue\r\n";
}

std::string Alternative(const std::string& plain_type, const std::string& html) {
  return "--B1\r\nContent-Type: multipart/alternative; boundary=\"B2\"\r\n\r\n--B2\r\n"
         "Content-Type: " +
         plain_type +
         "\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\nPlain caf=e9 and a long =\r\n"
         "line.\r\n--B2\r\nContent-Type: text/html; charset=utf-8\r\n\r\n" +
         html + "\r\n--B2--\r\n";
}

std::string Attachment(const std::string& headers, const std::string& body) {
  return "--B1\r\n" + headers + "\r\n\r\n" + body + "\r\n";
}

TEST(MessageView, PlainTextIsPreferredAndDecoded) {
  const app::MessageView view =
      app::ViewMessage(Multipart(Alternative("text/plain; charset=iso-8859-1", "<p>HTML</p>")));
  EXPECT_FALSE(view.body_is_html);
  EXPECT_EQ(view.body, "Plain caf\xC3\xA9 and a long line.\n");
  EXPECT_TRUE(view.attachments.empty());
}

TEST(MessageView, HtmlIsShownWhenThereIsNoPlainText) {
  const app::MessageView view = app::ViewMessage(
      Multipart("--B1\r\nContent-Type: text/html; charset=utf-8\r\nContent-Transfer-Encoding: "
                "base64\r\n\r\n" +
                mime::EncodeBase64Stream("<p>Gr\xC3\xBC\xC3\x9F"
                                         "e</p>\r\n") +
                "\r\n"));
  EXPECT_TRUE(view.body_is_html);
  EXPECT_EQ(view.body, "<p>Gr\xC3\xBC\xC3\x9F"
                       "e</p>\n");
}

TEST(MessageView, AttachmentsAreListedWithTheirNamesAndDecoded) {
  const app::MessageView view = app::ViewMessage(Multipart(
      Attachment("Content-Type: text/plain", "The text.") +
      Attachment("Content-Type: application/pdf; name=\"ignored.pdf\"\r\nContent-Disposition: "
                 "attachment; filename=\"report.pdf\"\r\nContent-Transfer-Encoding: base64",
                 mime::EncodeBase64Stream(kPdf)) +
      Attachment("Content-Type: text/plain; name=\"=?utf-8?Q?r=C3=A9sum=C3=A9.txt?=\"\r\n"
                 "Content-Transfer-Encoding: quoted-printable",
                 "line=3D1=\r\n continued") +
      Attachment("Content-Type: application/octet-stream\r\nContent-Disposition: attachment; "
                 "filename*=iso-8859-1''%E9t%E9.bin",
                 "raw") +
      Attachment("Content-Type: image/png\r\nContent-Transfer-Encoding: x-uuencode",
                 "begin 644 dot.png\r\n#86)C\r\n`\r\nend") +
      Attachment("Content-Type: message/rfc822", "Subject: inner\r\n\r\ninner text")));
  EXPECT_EQ(view.body, "The text.\n");
  struct Expected {
    std::string name, type, content;
  };
  const std::vector<Expected> expected = {
      {"report.pdf", "application/pdf", kPdf},
      {"r\xC3\xA9sum\xC3\xA9.txt", "text/plain", "line=1 continued\r\n"},
      {"\xC3\xA9t\xC3\xA9.bin", "application/octet-stream", "raw\r\n"},
      {"", "image/png", "abc"},
      {"", "message/rfc822", "Subject: inner\r\n\r\ninner text\r\n"},
  };
  ASSERT_EQ(view.attachments.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(view.attachments[i].name, expected[i].name) << i;
    EXPECT_EQ(view.attachments[i].content_type, expected[i].type) << i;
    EXPECT_EQ(view.attachments[i].content, expected[i].content) << i;
  }
}

TEST(MessageView, UuencodedFilesInPlainTextAreAttachments) {
  const app::MessageView view = app::ViewMessage(
      "Subject: x\r\nContent-Type: text/plain; charset=iso-8859-1\r\n\r\nBefore.\r\n"
      "begin 644 caf\xE9.txt\r\n#86)C\r\n`\r\nend\r\nBetween.\r\nbegin 600 cut.bin\r\n#86)C\r\n");
  EXPECT_EQ(view.body, "Before.\nBetween.\n");
  ASSERT_EQ(view.attachments.size(), 2u);
  EXPECT_EQ(view.attachments[0].name, "caf\xC3\xA9.txt");
  EXPECT_EQ(view.attachments[0].content, "abc");
  EXPECT_EQ(view.attachments[1].name, "cut.bin"); // a block without "end" runs to the end
  EXPECT_EQ(view.attachments[1].content, "abc");
}

TEST(MessageView, UuencodedAttachmentsOfAMessageWithoutMime) {
  const std::string text = "From: a@example.org\r\nSubject: pictures\r\n\r\nHere it is.\r\n\r\n"
                           "begin 644 beach.jpg\r\n#86)C\r\n`\r\nend\r\n";
  const app::MessageView view = app::ViewMessage(text);
  EXPECT_EQ(view.body, "Here it is.\n\n");
  ASSERT_EQ(view.attachments.size(), 1u);
  EXPECT_EQ(view.attachments[0].name, "beach.jpg");
  EXPECT_EQ(view.attachments[0].content, "abc");
}

struct DamageCase {
  const char* what;
  std::string text;
  std::string subject;
  std::string body;
  std::size_t attachments;
  bool has_header = true;
};

TEST(MessageView, DamagedTextShowsWhatItCan) {
  const DamageCase cases[] = {
      {"empty", "", "", "", 0, false},
      {"a fragment of a body", "the middle of a letter\r\nSubject: not a header\r\n", "",
       "the middle of a letter\nSubject: not a header\n", 0, false},
      {"lone LF line ends and a NUL", "Subject: lf\n\nbody\nmore\0hidden"s, "lf", "body\nmore\n",
       0},
      {"a deleted message's first bytes", "____ect: gone\r\nFrom: a@b\r\n\r\nText", "", "Text\n",
       0},
      {"header without end", "Subject: only\r\nFrom: a@b", "only", "", 0},
      {"multipart without its parts", "Subject: m\r\nContent-Type: multipart/mixed\r\n\r\nall", "m",
       "all\n", 0},
      {"multipart cut short",
       "Subject: cut\r\nContent-Type: multipart/mixed; boundary=B1\r\n\r\npreamble\r\n--B1\r\n"
       "Content-Type: text/plain\r\n\r\nfirst li",
       "cut", "preamble\n--B1\nContent-Type: text/plain\n\nfirst li\n", 0},
      {"a broken uuencoded block after a good one",
       "Subject: uu\r\n\r\nText\r\nbegin 644 a.bin\r\n#86)C\r\nend\r\nbegin 644 b.bin\r\n"
       "#8a)C\r\nend\r\n",
       "uu", "Text\n", 1},
      {"base64 with damage",
       Multipart(Attachment("Content-Type: text/plain\r\nContent-Transfer-Encoding: base64",
                            "SGVs!!bG8\r\n=")),
       "parts", "Hello", 0},
  };
  for (const DamageCase& c : cases) {
    const app::MessageView view = app::ViewMessage(c.text);
    EXPECT_EQ(view.has_header, c.has_header) << c.what;
    EXPECT_EQ(view.subject, c.subject) << c.what;
    EXPECT_EQ(view.body, c.body) << c.what;
    EXPECT_EQ(view.attachments.size(), c.attachments) << c.what;
  }
}

TEST(MessageView, MutatedMessagesNeverStopTheView) {
  const std::string seed =
      Multipart(Alternative("text/plain; charset=koi8-r", "<b>x</b>") +
                Attachment("Content-Type: application/pdf; name=\"=?utf-8?B?w6k=?=.pdf\"\r\n"
                           "Content-Transfer-Encoding: base64",
                           mime::EncodeBase64Stream(kPdf)) +
                Attachment("Content-Type: image/png\r\nContent-Transfer-Encoding: x-uuencode",
                           "begin 644 dot.png\r\n#86)C\r\nend"));
  static constexpr std::string_view kInserts[] = {
      "\r\n"sv, "--B1"sv, "--B2--"sv,          "=?"sv,   "?="sv,
      "="sv,    "\0"sv,   "begin 644 x\r\n"sv, "\xFF"sv, ":"sv};
  std::mt19937 random(7);
  for (int round = 0; round < 3000; ++round) {
    std::string text = seed;
    for (int n = 1 + static_cast<int>(random() % 6); n > 0; --n) {
      const std::size_t at = random() % text.size();
      if (random() % 2)
        text.insert(at, kInserts[random() % std::size(kInserts)]);
      else
        text.erase(at, random() % 40);
      if (text.empty())
        text = "x";
    }
    const app::MessageView view = app::ViewMessage(text);
    ASSERT_TRUE(app::IsValidUtf8(view.subject) && app::IsValidUtf8(view.body)) << round;
  }
}

TEST(MessageView, EveryRealSampleMessageReads) {
  const fs::path samples = SALVORA_SHARED_SAMPLES;
  if (!fs::exists(samples / "MANIFEST"))
    GTEST_SKIP() << "no shared samples at " << samples;
  platform::SetStopRequested(false); // earlier runs leave it set, and the readers then stop
  int messages = 0;
  for (const char* file : {"iped/test_OutlookDBX.dbx", "perl-mtdbx/test.dbx",
                           "perl-mtdbx/test1.dbx", "dzw-store/Inbox.dbx"}) {
    const std::string path = (samples / file).string();
    std::vector<uoexpress::Toe5_MessageInfo> infos;
    uoexpress::ReadMessageInfos(path, infos);
    for (const auto& info : infos) {
      std::string text;
      uoexpress::ReadMessageText(path, info.DataOffset, text, true);
      const app::MessageView view = app::ViewMessage(text);
      SCOPED_TRACE(std::string(file) + " at " + std::to_string(info.DataOffset));
      EXPECT_TRUE(view.has_header);
      EXPECT_FALSE(view.from.empty());
      EXPECT_EQ(view.subject.find("=?"), std::string::npos) << view.subject;
      EXPECT_NE(view.date_value, 0);
      EXPECT_TRUE(app::IsValidUtf8(view.subject) && app::IsValidUtf8(view.from) &&
                  app::IsValidUtf8(view.body));
      EXPECT_FALSE(view.body.empty());
      ++messages;
    }
  }
  EXPECT_EQ(messages, 31);
}

TEST(SaveAttachment, NamesStayInsideTheFolderAndNothingIsReplaced) {
  TempFolder folder;
  WriteFile(folder / "report.pdf", "someone else's");
  const std::string long_name = std::string(600, 'n') + ".txt";
  struct Case {
    std::string name;
    std::string type;
    std::string file;
  };
  const Case cases[] = {
      {"report.pdf", "application/pdf", "report_1.pdf"},
      {"report.pdf", "application/pdf", "report_2.pdf"},
      {"../../x", "text/plain", "x"},
      {"..\\..\\..\\boot.ini", "text/plain", "boot.ini"},
      {"CON", "text/plain", "_CON"},
      {long_name, "text/plain", std::string(146, 'n') + ".txt"},
      {"", "image/png", "attachment"},
      {"", "message/rfc822", "message.eml"},
  };
  for (const Case& c : cases) {
    const std::string path =
        app::SaveAttachment({c.name, c.type, "content of " + c.name}, folder.path());
    EXPECT_EQ(path, folder.path() + platform::kPathSeparator + c.file) << c.name;
    EXPECT_EQ(ReadFile(path), "content of " + c.name);
  }
  EXPECT_EQ(ReadFile(folder / "report.pdf"), "someone else's");
  EXPECT_EQ(FileNames(folder.path()).size(), std::size(cases) + 1);
  EXPECT_THROW(app::SaveAttachment({"a", "text/plain", "x"}, folder / "missing"),
               std::runtime_error);
}

TEST(ViewRecoveredMessage, ReadsARowAfterTheScanEnded) {
  SaveFixture fixture({Message("kept"), Message("gone", "g@example.org", "Deleted text.\r\n")},
                      {1});
  ASSERT_TRUE(platform::StopRequested()); // as every run leaves it
  const app::MessageView view =
      app::ViewRecoveredMessage(fixture.list[1].message, fixture.TempDir());
  EXPECT_EQ(view.subject, "gone");
  EXPECT_EQ(view.body, "Deleted text.\n");
  EXPECT_TRUE(platform::StopRequested());
}

} // namespace
} // namespace testenv
