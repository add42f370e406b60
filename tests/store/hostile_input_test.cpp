// Random and mutated files: every operation ends, stays inside its buffers (the sanitizer
// build checks that) and keeps memory bounded, whatever the bytes.
#include "store_test_util.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace dbxtest {
namespace {

// A small but complete store to mutate.
std::string SeedStore() {
  StoreBuilder builder;
  for (int i = 0; i < 12; ++i)
    builder.AddMessage("Subject: seed " + std::to_string(i) + "\r\n\r\n" +
                       std::string(300 * i, 'a' + i));
  builder.DeleteMessage(3);
  builder.DeleteMessage(7);
  return builder.Build(4).bytes();
}

// Overwrites a few words with values that point at interesting places.
void Mutate(std::string& bytes, std::mt19937& random) {
  std::uniform_int_distribution<int> edits(1, 16);
  for (int n = edits(random); n > 0; --n) {
    std::size_t at = random() % (bytes.size() - 4) & ~std::size_t{3};
    std::uint32_t value;
    switch (random() % 5) {
    case 0:
      value = static_cast<std::uint32_t>(at);
      break; // a self offset
    case 1:
      value = static_cast<std::uint32_t>(random() % bytes.size());
      break;
    case 2:
      value = random();
      break;
    case 3:
      value = 0;
      break;
    default:
      value = 0xFFFFFF00u | (random() & 0xFF);
      break;
    }
    for (int i = 0; i < 4; ++i)
      bytes[at + i] = static_cast<char>(value >> (8 * i));
  }
  if (random() % 8 == 0)
    bytes.resize(random() % bytes.size());
}

void ReadEverything(const std::string& bytes) {
  TempStore store(bytes);
  std::vector<uoexpress::Toe5_MessageInfo> live, deleted;
  uoexpress::ReadMessageInfos(store.path(), live);
  uoexpress::ReadDeletedMessageInfos(store.path(), deleted);
  std::string text;
  for (const auto& info : live) {
    uoexpress::ReadMessageText(store.path(), info.DataOffset, text, true);
    uoexpress::ReadMessageText(store.path(), info.DataOffset, text, false);
  }
  for (const auto& info : deleted) {
    uoexpress::ReadDeletedMessageText(store.path(), info.DataOffset, text, true);
    uoexpress::ReadDeletedMessageText(store.path(), info.DataOffset, text, false);
  }
  const std::vector<std::int64_t> listed = uoexpress::FirstBlocks(live, deleted);
  std::vector<uoexpress::Toe5_FoundMessage> found;
  uoexpress::ReadFoundMessageInfos(store.path(), listed, found);
  for (const auto& message : found) {
    uoexpress::ReadFoundMessageText(store.path(), message, text, true);
    uoexpress::ReadFoundMessageText(store.path(), message, text, false);
  }
  // Reading arbitrary offsets as chain starts must end as well.
  for (std::int32_t offset : {4, 60116, static_cast<std::int32_t>(bytes.size() / 2)}) {
    uoexpress::ReadMessageText(store.path(), offset, text, true);
    uoexpress::ReadDeletedMessageText(store.path(), offset, text, true);
  }
}

TEST(HostileInput, MutatedStoresNeverCrashOrHang) {
  const std::string seed = SeedStore();
  std::mt19937 random(20261209);
  for (int round = 0; round < 1500; ++round) {
    std::string bytes = seed;
    Mutate(bytes, random);
    ASSERT_NO_FATAL_FAILURE(ReadEverything(bytes)) << "round " << round;
  }
}

TEST(HostileInput, RandomFilesNeverCrashOrHang) {
  std::mt19937 random(42);
  for (int round = 0; round < 500; ++round) {
    std::string bytes(random() % 4096, '\0');
    for (char& byte : bytes)
      byte = static_cast<char>(random());
    // Aim the header at the file so the walks have something to follow.
    if (bytes.size() >= 200) {
      for (std::size_t field : {48u, 72u, 196u}) {
        std::uint32_t value = random() % bytes.size();
        for (int i = 0; i < 4; ++i)
          bytes[field + i] = static_cast<char>(value >> (8 * i));
      }
    }
    ASSERT_NO_FATAL_FAILURE(ReadEverything(bytes)) << "round " << round;
  }
}

// The densest plausible blocks a hostile file can pack, and words that all hold their own
// offset: the deep scan ends, and finds at most one block per 528 bytes.
TEST(HostileInput, DenseBlockShapesKeepTheDeepScanBounded) {
  constexpr std::size_t kSize = 8 << 20;
  struct Case {
    const char* pattern;
    std::function<std::uint32_t(std::uint32_t offset)> word;
  } cases[] = {
      {"every word its own offset", [](std::uint32_t offset) { return offset; }},
      // Freed-block headers every 12 bytes, each naming the next as its next block.
      {"freed-block headers every 12 bytes",
       [](std::uint32_t offset) {
         switch (offset % 12) {
         case 0:
           return offset;
         case 4:
           return 0u;
         default:
           return 528u;
         }
       }},
      {"one-block messages back to back",
       [](std::uint32_t offset) {
         switch (offset % 528) {
         case 0:
           return offset;
         case 4:
           return 512u;
         case 8:
           return 8u;
         case 12:
           return 0u;
         default:
           return 0x74786554u; // "Text"
         }
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pattern);
    std::string bytes(kSize, '\0');
    for (std::uint32_t at = 0; at < kSize; at += 4) {
      std::uint32_t word = c.word(at);
      std::memcpy(bytes.data() + at, &word, 4);
    }
    TempStore store(bytes);
    std::vector<uoexpress::Toe5_FoundMessage> found;
    uoexpress::ReadFoundMessageInfos(store.path(), {}, found);
    EXPECT_LE(found.size(), kSize / kBlockSize + 1);
  }
}

} // namespace
} // namespace dbxtest
