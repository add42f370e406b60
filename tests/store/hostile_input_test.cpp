// Random and mutated files: every operation ends, stays inside its buffers (the sanitizer
// build checks that) and keeps memory bounded, whatever the bytes.
#include "store_test_util.h"

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

} // namespace
} // namespace dbxtest
