// Every real message of the shared Outlook Express files goes through the calls the scan
// makes, without error and with sensible answers.
#include "mime/mail_message.h"
#include "platform/sha256.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace mime {
namespace {

const std::filesystem::path kSamples = SALVORA_SHARED_SAMPLES;

struct SampleMessage {
  std::string file;
  std::string text;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::uint32_t Read32(const std::string& data, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = v << 8 | static_cast<unsigned char>(data[at + static_cast<std::size_t>(i)]);
  return v;
}

// A message's text is a chain of blocks: own offset, size, data length (16 bits), next offset,
// then the data. Enough of the folder file format to feed the parser in this test.
std::string FollowBlockChain(const std::string& file, std::uint32_t offset) {
  std::string text;
  std::set<std::uint32_t> seen;
  while (offset != 0 && seen.insert(offset).second && offset + 16u <= file.size() &&
         Read32(file, offset) == offset) {
    const std::uint32_t length = Read32(file, offset + 8) & 0xFFFF;
    text.append(file, offset + 16, std::min<std::size_t>(length, file.size() - offset - 16));
    offset = Read32(file, offset + 12);
  }
  return text;
}

// The messages listed in MANIFEST with their expected SHA-256, folder database excluded.
std::vector<SampleMessage> LoadSampleMessages() {
  std::vector<SampleMessage> messages;
  std::ifstream manifest(kSamples / "MANIFEST");
  std::string line;
  std::string file_name;
  std::string file;
  while (std::getline(manifest, line)) {
    if (line.empty() || line[0] == '#')
      continue;
    if (line.rfind("== ", 0) == 0) {
      file_name = line.substr(3);
      file = ReadFile(kSamples / file_name);
      continue;
    }
    std::istringstream fields(line);
    std::string kind, info, data, attr, length, sha;
    fields >> kind >> info >> data >> attr >> length >> sha;
    if (file_name.find("Folders.dbx") != std::string::npos || std::stoul(length) == 0)
      continue;
    SampleMessage message{file_name,
                          FollowBlockChain(file, static_cast<std::uint32_t>(std::stoul(data)))};
    EXPECT_EQ(platform::Sha256Hex(message.text), sha) << file_name << " at " << data;
    messages.push_back(std::move(message));
  }
  return messages;
}

TEST(SampleMessages, EveryMessageParsesAndAnswers) {
  if (!std::filesystem::exists(kSamples / "MANIFEST"))
    GTEST_SKIP() << "no shared samples at " << kSamples;
  const std::vector<SampleMessage> messages = LoadSampleMessages();
  ASSERT_EQ(messages.size(), 31u);

  TMailMessage2000 m; // one instance for all, as in the scan
  int multipart = 0;
  for (const SampleMessage& message : messages) {
    SCOPED_TRACE(message.file);
    ASSERT_NO_THROW({
      m.ParseText(message.text);
      m.RebuildBody();
    });
    EXPECT_EQ(m.HeaderValue("Content-Length"), std::to_string(m.Body.size()));
    EXPECT_NE(m.FromText().find('@'), std::string::npos) << m.FromText();
    EXPECT_NO_THROW(m.ToList.RecipientsText());
    EXPECT_EQ(m.SubjectText().find("=?"), std::string::npos) << m.SubjectText();
    EXPECT_GT(m.DateValue(), 36000.0); // all later than 1998
    if (m.HeaderValue("Content-Type").rfind("multipart/", 0) == 0) {
      ++multipart;
      EXPECT_GT(m.SubParts().Count(), 0);
      EXPECT_EQ(m.Body.rfind("This is a multipart message in mime format.\r\n", 0), 0u);
    }
  }
  EXPECT_EQ(multipart, 23);
}

TEST(SampleMessages, WelcomeMessageAnswers) {
  if (!std::filesystem::exists(kSamples / "MANIFEST"))
    GTEST_SKIP() << "no shared samples at " << kSamples;
  for (const SampleMessage& message : LoadSampleMessages()) {
    if (message.file != "dzw-store/Inbox.dbx")
      continue;
    TMailMessage2000 m;
    m.ParseText(message.text);
    m.RebuildBody();
    EXPECT_EQ(m.SubjectText(), "Welcome to Outlook Express 6");
    EXPECT_EQ(m.FromText(), "msoe@microsoft.com");
    EXPECT_EQ(m.HeaderValue("Content-Type"), "text/html");
    return;
  }
  ADD_FAILURE() << "welcome message not found";
}

} // namespace
} // namespace mime
