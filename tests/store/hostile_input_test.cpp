// Random and mutated files: every operation ends, stays inside its buffers (the sanitizer
// build checks that) and keeps memory bounded, whatever the bytes.
#include "platform/random_access_file.h"
#include "store_test_util.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <unistd.h>

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
  const auto listed = uoexpress::FirstBlocks(live, deleted);
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

// A folder file that exists only as a rule giving each 4-byte word from its offset, of any size
// up to 4 GiB; the reader opens it in place of the named file and its reads are counted, the
// measure of a walk's work.
struct WordFile {
  std::int64_t size;
  std::function<std::uint32_t(std::uint32_t offset)> word;
};

class WordFileReader final : public platform::RandomAccessFile {
public:
  static inline const WordFile* file = nullptr;
  static inline std::int64_t reads = 0;

  std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override {
    ++reads;
    if (offset < 0 || offset >= file->size)
      return 0;
    size = static_cast<std::size_t>(std::min<std::int64_t>(size, file->size - offset));
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
      auto at = static_cast<std::uint32_t>(offset + static_cast<std::int64_t>(i));
      if (i == 0 || at % 4 == 0)
        value = file->word(at & ~3u);
      buffer[i] = static_cast<char>(value >> (8 * (at % 4)));
    }
    return size;
  }
  std::int64_t Size() const override { return file->size; }
};

struct WalkResult {
  std::size_t listed;
  std::int64_t reads;
};

WalkResult ListWordFile(const WordFile& file) {
  WordFileReader::file = &file;
  WordFileReader::reads = 0;
  platform::SetFileOpener([](const std::string&) -> std::unique_ptr<platform::RandomAccessFile> {
    return std::make_unique<WordFileReader>();
  });
  std::vector<uoexpress::Toe5_MessageInfo> live;
  uoexpress::ReadMessageInfos("word file", live);
  platform::SetFileOpener(nullptr);
  return {live.size(), WordFileReader::reads};
}

// The header fields the walk starts from, over any rule.
std::function<std::uint32_t(std::uint32_t)>
WithHeader(std::function<std::uint32_t(std::uint32_t)> word, std::uint32_t count,
           std::uint32_t root) {
  return [=](std::uint32_t offset) {
    if (offset == static_cast<std::uint32_t>(kMessageCountField))
      return count;
    if (offset == static_cast<std::uint32_t>(kRootNodeField))
      return root;
    return word(offset);
  };
}

std::uint32_t OwnOffset(std::uint32_t offset) {
  return offset;
}

constexpr std::int64_t kMiB = 1 << 20;
constexpr std::int64_t kFourGiB = std::int64_t{1} << 32;

// Nodes of 624 bytes one after another from `first`, each with 50 entries that name the record
// at `record` and, as child, the next node.
std::uint32_t NodeRun(std::uint32_t offset, std::uint32_t first, std::uint32_t record) {
  if (offset < first)
    return 0;
  std::uint32_t node = offset - (offset - first) % 624;
  std::uint32_t at = offset - node;
  if (at == 0)
    return node;
  if (at == 16)
    return 50 << 8;
  if (at < 24)
    return 0;
  switch ((at - 24) % 12) {
  case 0:
    return record;
  case 4:
    return node + 624;
  default:
    return 0;
  }
}

// A record at 16384 whose fifty attributes all name one 64 KB text; its data offset stands at
// the fixed place in the value area, inside the text.
std::uint32_t OneLongTextRecord(std::uint32_t offset) {
  constexpr std::uint32_t kRecord = 16384;
  if (offset == kRecord)
    return kRecord;
  if (offset == kRecord + 4)
    return 1 << 24; // body length
  if (offset == kRecord + 8)
    return 50 << 16; // entry count
  if (offset > kRecord + 8 && offset < kRecord + 12 + 200)
    return 0x08; // text attribute 0x08 at value 0
  if (offset >= kRecord + 12 + 200 && offset < kRecord + 12 + 200 + 128 * 1024)
    return 0x41414141;
  return NodeRun(offset, 1 << 20, kRecord);
}

// Whatever the words, the walk ends after a bounded number of reads, and what it lists stays
// small: every word its own offset makes every offset pass as a node and as a record. Where the
// root's records pass (their entry-count byte, the offset's third byte, is 1..50), the walk
// must still list none of them; the three listed come from the fallback table, whose length
// word holds its own offset too.
TEST(HostileInput, IndexWalkWorkIsBoundedOnEveryShape) {
  struct Case {
    const char* name;
    WordFile file;
    std::size_t max_listed;
  } cases[] = {
      {"every word its own offset", {8 * kMiB, OwnOffset}, 3},
      {"every word its own offset, 4 GiB", {kFourGiB, OwnOffset}, 3},
      {"own offsets, root where records pass", {8 * kMiB, WithHeader(OwnOffset, 1, 0x50000)}, 3},
      {"own offsets, root where records pass, 4 GiB",
       {kFourGiB, WithHeader(OwnOffset, 1, 0x7F050000)},
       3},
      {"root claims 16 million entries over own offsets",
       {256 * kMiB,
        WithHeader([](std::uint32_t offset) { return offset == 0x50010 ? 0xFFFFFF00u : offset; }, 1,
                   0x50000)},
       50},
      {"root's count word probes a node near 4 GiB",
       {kFourGiB,
        WithHeader([](std::uint32_t offset) { return offset == 0x50010 ? 0xFFFFF000u : offset; }, 1,
                   0x50000)},
       3},
      {"empty nodes every 24 bytes, each naming the next",
       {256 * kMiB, WithHeader(
                        [](std::uint32_t offset) {
                          switch (offset % 24) {
                          case 0:
                            return offset;
                          case 12:
                            return offset + 12;
                          default:
                            return 0u;
                          }
                        },
                        1, 9600)},
       0},
      {"fallback table of 2 GB naming a record failing its test",
       {256 * kMiB,
        [](std::uint32_t offset) {
          switch (offset) {
          case kRootNodeField:
            return 0u;
          case kFallbackLengthField:
            return 0x7FFFFFF0u;
          case kMessageCountField:
          case kFallbackTable:
            return offset;
          default:
            return 4u;
          }
        }},
       0},
      {"full nodes of records failing their test",
       {256 * kMiB,
        WithHeader([](std::uint32_t offset) { return NodeRun(offset, 9984, 4); }, 1, 9984)},
       0},
      {"full nodes naming one record of fifty long texts",
       {256 * kMiB, WithHeader(OneLongTextRecord, 1, 1 << 20)},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WalkResult result = ListWordFile(c.file);
    EXPECT_LE(result.listed, c.max_listed);
    EXPECT_LE(result.reads, 1'000'000);
  }
}

// The same kind of file on disk, sparse: only the words in `windows` are written.
class SparseStore {
public:
  SparseStore(std::int64_t size,
              const std::vector<std::pair<std::uint32_t, std::uint32_t>>& windows,
              const std::function<std::uint32_t(std::uint32_t)>& word)
      : path_(std::filesystem::temp_directory_path() /
              ("salvora-sparse-" + std::to_string(::getpid()) + ".dbx")) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc).close();
    std::error_code error;
    std::filesystem::resize_file(path_, static_cast<std::uintmax_t>(size), error);
    ok_ = !error;
    std::fstream file(path_, std::ios::binary | std::ios::in | std::ios::out);
    for (const auto& [start, length] : windows) {
      std::vector<std::uint32_t> words(length / 4);
      for (std::uint32_t i = 0; i < words.size(); ++i)
        words[i] = word(start + 4 * i);
      file.seekp(static_cast<std::streamoff>(start));
      file.write(reinterpret_cast<const char*>(words.data()), static_cast<std::streamsize>(length));
    }
    ok_ = ok_ && file.good();
  }
  ~SparseStore() { std::filesystem::remove(path_); }

  bool ok() const { return ok_; }
  std::string path() const { return path_.string(); }

private:
  std::filesystem::path path_;
  bool ok_ = false;
};

TEST(HostileInput, SparseFourGiBFileOfOwnOffsetsListsAlmostNothing) {
  constexpr std::uint32_t kRoot = 0x7F050000; // where records pass their entry-count test
  const auto word = WithHeader(
      [](std::uint32_t offset) { return offset == kRoot + 16 ? 0xFFFFF000u : offset; }, 1, kRoot);
  // The header, the root and what it links to, and the node its count word probes.
  SparseStore store(kFourGiB, {{0, 1 << 18}, {kRoot, 1 << 20}, {0xFFF00000u, 1 << 20}}, word);
  if (!store.ok())
    GTEST_SKIP() << "no sparse 4 GiB file here";
  std::vector<uoexpress::Toe5_MessageInfo> live;
  uoexpress::ReadMessageInfos(store.path(), live);
  EXPECT_LE(live.size(), 3u); // what the fallback table names
}

// Records live at 5000 + 100 * i and name data block 9000 + 1000 * i.
std::int32_t RecordAt(int i) {
  return 5000 + 100 * i;
}

void PutRecord(DbxImage& image, std::int32_t offset, std::int32_t data) {
  image.Record(offset, {{0x84, static_cast<std::uint32_t>(data)}}, "");
}

DbxImage RootAt1000(std::uint32_t count_word, const std::vector<NodeEntry>& entries) {
  DbxImage image(4096);
  image.SetMessageCount(100);
  image.SetRootNode(1000);
  for (int i = 0; i < 3; ++i)
    PutRecord(image, RecordAt(i), 9000 + 1000 * i);
  image.Node(1000, 0, 0, entries, count_word);
  return image;
}

// Nodes of a real tree never overlap, nor does a record lie inside a node: what does is passed
// over, and the area a node holds reaches no further than its fiftieth entry.
TEST(HostileInput, NodesAndRecordsInsideAnAcceptedNodeArePassedOver) {
  struct Case {
    const char* name;
    std::function<DbxImage()> image;
    std::vector<std::int32_t> expected;
  } cases[] = {
      {"child inside its parent's entries",
       [] {
         DbxImage image = RootAt1000(3 << 8, {{RecordAt(0), 1048}, {RecordAt(1), 0}});
         image.Node(1048, 0, 0, {{RecordAt(2), 0}});
         return image;
       },
       {RecordAt(0), RecordAt(1)}},
      {"child just past its parent's entries",
       [] {
         DbxImage image = RootAt1000(3 << 8, {{RecordAt(0), 1060}, {RecordAt(1), 0}});
         image.Node(1060, 0, 0, {{RecordAt(2), 0}});
         return image;
       },
       {RecordAt(0), RecordAt(2), RecordAt(1)}},
      {"record inside a node's entries",
       [] {
         DbxImage image = RootAt1000(3 << 8, {{1048, 0}, {RecordAt(1), 0}});
         PutRecord(image, 1048, 7777);
         return image;
       },
       {RecordAt(1)}},
      {"record just past a node's entries",
       [] {
         DbxImage image = RootAt1000(3 << 8, {{1060, 0}, {RecordAt(1), 0}});
         PutRecord(image, 1060, 7777);
         return image;
       },
       {1060, RecordAt(1)}},
      // A damaged count word claims 16 million entries; the node standing after the fiftieth
      // is still walked, with the node its first link names.
      {"node after a damaged count word's fiftieth entry",
       [] {
         DbxImage image = RootAt1000(0xFFFFFF00, {{RecordAt(0), 1624}});
         image.Node(1624, 2000, 0, {{RecordAt(1), 0}});
         image.Node(2000, 0, 0, {{RecordAt(2), 0}});
         return image;
       },
       {RecordAt(0), RecordAt(2), RecordAt(1)}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(InfoOffsets(Listing(c.image())), c.expected) << c.name;
}

TEST(HostileInput, OrdinaryTreesListEveryMessageInOrder) {
  struct Case {
    int messages;
    int fan_out;
  } cases[] = {{1, 50}, {200, 2}, {3000, 3}, {3000, 50}};
  for (const Case& c : cases) {
    StoreBuilder builder;
    std::vector<std::int32_t> expected;
    for (int i = 0; i < c.messages; ++i) {
      builder.AddMessage("Subject: " + std::to_string(i) + "\r\n\r\nbody");
      expected.push_back(builder.InfoOffset(i));
    }
    EXPECT_EQ(InfoOffsets(Listing(builder.Build(c.fan_out))), expected)
        << c.messages << " messages, " << c.fan_out << " a node";
  }
}

} // namespace
} // namespace dbxtest
