#include "message_text.h"
#include "mime/comma_text.h"
#include "mime/mail_message.h"
#include "mime/mail_recipients.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace mime {
namespace {

using testing::Lines;

struct RecipientsCase {
  std::string to_value;
  std::vector<std::string> names;
  std::vector<std::string> addresses;
  std::string text;
};

TEST(RecipientsText, Table) {
  const RecipientsCase cases[] = {
      {"\"Doe, Jane\" <jane@example.org>, bob@example.com",
       {"Doe, Jane", ""},
       {"jane@example.org", "bob@example.com"},
       "jane@example.org,bob@example.com"},
      {"<>", {""}, {""}, "\"\""},
      {"\"Team List\"", {""}, {"Team List"}, "\"Team List\""},
      {"=?x?Q?J=F6rg?= <j@x.org>", {"J\xF6rg"}, {"j@x.org"}, "j@x.org"},
      {"a@b,,c@d", {"", "", ""}, {"a@b", "", "c@d"}, "a@b,,c@d"},
      {"Jane <jane @ example.org>", {"Jane"}, {"jane@example.org"}, "jane@example.org"},
      {"say \"hi\" <a@b>, x", {"say hi", ""}, {"a@b", "x"}, "a@b,x"},
      {"bob", {""}, {"bob"}, "bob"},
  };
  for (const auto& c : cases) {
    TMailMessage2000 m;
    m.ParseText(Lines({"To: " + c.to_value, "", ""}));
    EXPECT_EQ(m.ToList.RecipientsText(), c.text) << c.to_value;
    EXPECT_EQ(m.ToList.Names, c.names) << c.to_value;
    EXPECT_EQ(m.ToList.Addresses, c.addresses) << c.to_value;
  }
}

TEST(RecipientsText, EachListReadsItsOwnField) {
  TMailMessage2000 m;
  m.ParseText(Lines({"To: a@x", "Cc: b@x, c@x", "Bcc: d@x", "", ""}));
  EXPECT_EQ(m.ToList.RecipientsText(), "a@x");
  EXPECT_EQ(m.CcList.RecipientsText(), "b@x,c@x");
  EXPECT_EQ(m.BccList.RecipientsText(), "d@x");
  EXPECT_EQ(m.CcList.HeaderLabel(), "Cc");
  EXPECT_EQ(m.BccList.OwnerMessage(), &m);
}

TEST(RecipientsText, SecondParseGivesSecondRecipients) {
  TMailMessage2000 m;
  m.ParseText(Lines({"To: one@example.org", "", "x"}));
  EXPECT_EQ(m.ToList.RecipientsText(), "one@example.org");
  m.ParseText(Lines({"To: two@example.org", "", "y"})); // same header length
  EXPECT_EQ(m.ToList.RecipientsText(), "two@example.org");
  m.ParseText(Lines({"Subject: none", "", "y"}));
  EXPECT_EQ(m.ToList.RecipientsText(), "");
  EXPECT_TRUE(m.ToList.Addresses.empty());
}

TEST(CommaText, Table) {
  const struct {
    std::vector<std::string> items;
    std::string expected;
  } cases[] = {
      {{}, ""},
      {{""}, "\"\""},
      {{"a", ""}, "a,"},
      {{"a b", "c\"d", "e,f", "g"}, "\"a b\",\"c\"\"d\",\"e,f\",g"},
      {{"tab\there"}, "\"tab\there\""},
      {{"caf\xE9"}, "caf\xE9"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CommaText(c.items), c.expected);
}

} // namespace
} // namespace mime
