#include "platform/read_ahead_file.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

// A file in memory that counts the reads that reach it.
class CountingFile final : public platform::ReadAheadFile {
public:
  explicit CountingFile(std::string content)
      : ReadAheadFile(static_cast<std::int64_t>(content.size())), content_(std::move(content)) {}

  int direct_reads = 0;

private:
  std::size_t ReadDirect(std::int64_t offset, char* buffer, std::size_t size) override {
    ++direct_reads;
    const std::size_t got = std::min(size, content_.size() - static_cast<std::size_t>(offset));
    std::memcpy(buffer, content_.data() + offset, got);
    return got;
  }

  std::string content_;
};

std::string RandomBytes(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes)
    c = static_cast<char>(random());
  return bytes;
}

TEST(ReadAheadFile, EveryReadGivesTheFilesBytesWhateverTheOrder) {
  const std::string content = RandomBytes(3 << 20, 7);
  CountingFile file(content);
  std::mt19937 random(11);
  std::int64_t streams[3] = {0, 1 << 20, 2 << 20};
  std::int64_t backward = 3 << 20;
  for (int i = 0; i < 20000; ++i) {
    std::int64_t offset;
    std::size_t size = random() % 1200;
    switch (random() % 5) {
    case 0: // anywhere, sometimes beyond either end or larger than any window
      offset = static_cast<std::int64_t>(random() % (content.size() + 2000)) - 1000;
      if (random() % 50 == 0)
        size = 300000;
      break;
    case 1: // a place read backward, as a deleted message's blocks freed last to first
      backward = backward < 600 ? 3 << 20 : backward - static_cast<std::int64_t>(random() % 600);
      offset = backward;
      break;
    default: { // one of three places read forward in turn, as a scan does
      std::int64_t& stream = streams[random() % 3];
      offset = stream;
      stream = (stream + static_cast<std::int64_t>(size) + random() % 64) %
               static_cast<std::int64_t>(content.size());
    }
    }
    std::string buffer(size, '\0');
    const std::size_t got = file.ReadAt(offset, buffer.data(), size);
    const bool outside = offset < 0 || offset >= static_cast<std::int64_t>(content.size());
    const std::size_t at = outside ? 0 : static_cast<std::size_t>(offset);
    const std::size_t expected = outside ? 0 : std::min(size, content.size() - at);
    ASSERT_EQ(got, expected) << offset << " " << size;
    if (!outside) {
      ASSERT_EQ(buffer.substr(0, got), content.substr(at, got)) << offset << " " << size;
    }
  }
}

TEST(ReadAheadFile, PlacesReadInTurnKeepTheirOwnWindows) {
  // A record area read forward, a text area read forward and a freed area read backward, in
  // turn, as a scan reads a message's record, its text and a deleted message's blocks: each
  // area is read through its own growing window.
  const std::string content = RandomBytes(4 << 20, 3);
  CountingFile file(content);
  char buffer[512];
  int reads = 0;
  for (std::int64_t record = 3 << 20, text = 4096, freed = (4 << 20) - 528;
       text + 4096 <= (3 << 20); record += 12, text += 4096, freed -= 528) {
    file.ReadAt(record, buffer, 12);
    file.ReadAt(text, buffer, 512);
    file.ReadAt(freed, buffer, 512);
    reads += 3;
  }
  EXPECT_EQ(reads, 2301);
  EXPECT_LT(file.direct_reads, 40);
}

} // namespace
