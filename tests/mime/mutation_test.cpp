// Seeded random damage to message texts: parsing, rebuilding and every accessor must stay
// inside their buffers, end, and give the same answers for the same input.
#include "message_text.h"
#include "mime/boundary.h"
#include "mime/mail_message.h"
#include "mime/mime_error.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace mime {
namespace {

using testing::Lines;

const std::vector<std::string>& Seeds() {
  static const std::vector<std::string> seeds = {
      Lines({"From: \"Doe, Jane\" <jane@example.org>",
             "To: a@b, \"x y\" <c@d>; e@f",
             "Subject: =?iso-8859-1?Q?caf=E9?= =?utf-8?B?SGVsbG8=?=",
             "Date: Mon, 5 Jan 2004 10:20:30 +0100",
             "Content-Type: multipart/mixed; boundary=\"B\"",
             "",
             "pre",
             "--B",
             "Content-Type: multipart/alternative; boundary=C",
             "",
             "--C",
             "Content-Type: text/plain",
             "",
             "plain",
             "--C--",
             "--B",
             "Content-Type: text/html; charset=\"x\"",
             "Content-Transfer-Encoding: base64",
             "",
             "PGI+aGk8L2I+",
             "--B--",
             "post"}),
      Lines({"From: a@example.org", "Subject: files", "", "See attached.", "begin 644 x.bin",
             "#86)C", "`", "end", "tail", "begin 600 b.gif", "M" + std::string(60, '!'), "end"}),
      Lines({"Subject: plain", "\tfolded", "Content-Type: text/plain", "", "Hi"}),
  };
  return seeds;
}

const char* const kTokens[] = {"\r\n",
                               "--B",
                               "--C--",
                               "begin 644 f.txt\r\n",
                               "end\r\n",
                               "be",
                               "=?",
                               "?=",
                               "?Q?",
                               "?B?",
                               "?U?",
                               "\"",
                               ";",
                               ":",
                               "<",
                               ">",
                               ",",
                               "=",
                               "\t",
                               " ",
                               "\r",
                               "\n",
                               "Content-Type: multipart/x; boundary=B\r\n"};

std::string Mutate(std::string text, std::mt19937& random) {
  const int steps = 1 + static_cast<int>(random() % 8);
  for (int i = 0; i < steps; ++i) {
    const std::size_t at = text.empty() ? 0 : random() % (text.size() + 1);
    switch (random() % 5) {
    case 0:
      if (at < text.size())
        text[at] = static_cast<char>(random() & 0xFF);
      break;
    case 1:
      text.insert(at, kTokens[random() % std::size(kTokens)]);
      break;
    case 2:
      text.erase(at, random() % 16);
      break;
    case 3: {
      const std::size_t length = random() % 64;
      text.insert(at, text.substr(at, length));
      break;
    }
    default:
      text.resize(at);
      break;
    }
  }
  return text;
}

std::uint64_t Mix(std::uint64_t digest, const std::string& s) {
  for (unsigned char c : s)
    digest = (digest ^ c) * 1099511628211ULL; // FNV-1a
  return (digest ^ 0xFF) * 1099511628211ULL;
}

// Walks the tree, checking the links, and folds every part into the digest.
std::uint64_t CheckTree(const TMailPart& part, const TMailMessage2000& message, int depth,
                        std::uint64_t digest) {
  EXPECT_LT(depth, 1000);
  for (const std::string& header : part.Headers)
    digest = Mix(digest, header);
  if (part.SubParts().Empty())
    digest =
        Mix(digest, part.Body); // a boundary made from the clock shows up in the rebuilt body only
  for (const auto& child : part.SubParts()) {
    EXPECT_EQ(child->ParentPart(), &part);
    EXPECT_EQ(child->OwnerMessage(), &message);
    digest = CheckTree(*child, message, depth + 1, digest);
  }
  return digest;
}

// The answers of one damaged message, as a digest; converted uuencoded messages get a new
// boundary each time, so only texts without it enter the digest.
std::uint64_t Exercise(TMailMessage2000& m, const std::string& text) {
  std::uint64_t digest = 14695981039346656037ULL;
  try {
    m.ParseText(text);
    m.RebuildBody();
    EXPECT_EQ(m.HeaderValue("Content-Length"), std::to_string(m.Body.size()));
  } catch (const MimeError& e) {
    digest = Mix(digest, e.what());
  }
  digest = CheckTree(m, m, 0, digest);
  const auto text_of = [&](auto&& call) {
    try {
      digest = Mix(digest, call());
    } catch (const MimeError& e) {
      digest = Mix(digest, e.what());
    }
  };
  text_of([&] { return m.FromText(); });
  text_of([&] { return m.ToList.RecipientsText(); });
  text_of([&] { return m.CcList.RecipientsText(); });
  text_of([&] { return m.BccList.RecipientsText(); });
  text_of([&] { return m.SubjectText(); });
  text_of([&] { return std::to_string(m.DateValue()); });
  text_of([&] { return m.HeaderAddress("To", 1); });
  text_of([&] { return m.HeaderParam("Content-Type", "charset"); });
  text_of([&] { return m.Boundary().rfind("boundary", 0) == 0 ? "new" : m.Boundary(); });
  return digest;
}

std::uint64_t RunCampaign(std::uint32_t seed, int rounds) {
  std::mt19937 random(seed);
  TMailMessage2000 m;
  std::uint64_t digest = 0;
  for (int round = 0; round < rounds; ++round) {
    std::string text = Seeds()[static_cast<std::size_t>(round) % Seeds().size()];
    text = Mutate(text, random);
    if (text.find("begin 6") != std::string::npos)
      Exercise(m, text); // a converted message carries a random boundary
    else
      digest ^= Exercise(m, text) + static_cast<std::uint64_t>(round);
  }
  return digest;
}

TEST(Mutation, DamagedMessagesAreHandledTheSameWayEachTime) {
  const std::uint64_t first = RunCampaign(2004, 12000);
  const std::uint64_t second = RunCampaign(2004, 12000);
  EXPECT_EQ(first, second);
}

TEST(NewBoundary, EightUpperCaseHexDigits) {
  for (int i = 0; i < 100; ++i) {
    const std::string b = NewBoundary();
    ASSERT_EQ(b.size(), 16u);
    EXPECT_EQ(b.substr(0, 8), "boundary");
    EXPECT_EQ(b.find_first_not_of("0123456789ABCDEF", 8), std::string::npos) << b;
  }
  EXPECT_NE(NewBoundary(), NewBoundary());
}

} // namespace
} // namespace mime
