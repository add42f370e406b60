// The deep scan on damaged copies of one store: every message whose blocks all survive is
// listed exactly once, by the index, the deleted chain or the deep scan; live messages read
// back exactly as in the intact file and deleted ones as the deleted reader reads them; and
// no message comes from bytes that are not a message's block.
#include "platform/pump.h"
#include "platform/random_access_file.h"
#include "store_test_util.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>

namespace dbxtest {
namespace {

struct StoredMessage {
  std::string text;
  std::vector<std::int64_t> blocks;
  std::int64_t record = 0;
  bool deleted = false;
};

struct Store {
  std::vector<StoredMessage> messages;
  std::string bytes;
  std::int64_t index_start = 0; // the index tree lies from here to the end
};

std::string MessageText(int i, std::size_t body) {
  std::string text = "Return-Path: <a" + std::to_string(i) + "@example.org>\r\nSubject: message " +
                     std::to_string(i) + "\r\n\r\n";
  while (text.size() < body)
    text += "line " + std::to_string(text.size()) + " of message " + std::to_string(i) + "\r\n";
  return text;
}

// 700 messages of one to fourteen blocks (2.5 MB), a few exactly filling their blocks; every
// fifth is deleted, in a shuffled order that mixes one-block and longer messages along the
// deleted chain.
const Store& IntactStore() {
  static const Store store = [] {
    StoreBuilder builder;
    Store built;
    std::mt19937 random(2024);
    for (int i = 0; i < 700; ++i) {
      std::size_t size = i % 7 == 0 ? 100 + random() % 300 : 600 + random() % 6500;
      if (i % 11 == 0)
        size = 1024;
      std::string text = MessageText(i, size);
      if (i % 11 == 0)
        text.resize(1024); // two full blocks
      int index = builder.AddMessage(text);
      StoredMessage message{text, {}, builder.InfoOffset(index), false};
      for (std::size_t b = 0; b * kBlockTextSize < text.size(); ++b)
        message.blocks.push_back(builder.DataOffset(index) + kBlockSize * std::int64_t(b));
      built.messages.push_back(message);
    }
    std::vector<int> deleted;
    for (int i = 0; i < 700; i += 5)
      deleted.push_back(i);
    std::shuffle(deleted.begin(), deleted.end(), random);
    for (int i : deleted) {
      builder.DeleteMessage(i);
      built.messages[i].deleted = true;
    }
    built.index_start = builder.End();
    built.bytes = builder.Build(5).bytes();
    return built;
  }();
  return store;
}

struct Recovered {
  std::string kind;
  std::string text;
  bool fragment = false;
};

// Everything the four listings and the deep scan give, by first block; a first block listed
// twice fails the test.
std::map<std::int64_t, Recovered> RecoverEverything(const std::string& bytes) {
  TempStore file(bytes);
  std::vector<uoexpress::Toe5_MessageInfo> live, deleted;
  uoexpress::ReadMessageInfos(file.path(), live);
  uoexpress::ReadDeletedMessageInfos(file.path(), deleted);
  std::map<std::int64_t, Recovered> recovered;
  auto add = [&](std::int64_t offset, Recovered message) {
    if (!recovered.emplace(offset, std::move(message)).second)
      ADD_FAILURE() << "listed twice: " << offset;
  };
  for (const auto& info : live) {
    std::string text;
    uoexpress::ReadMessageText(file.path(), info.DataOffset, text, true);
    add(info.DataOffset, {"live", text});
  }
  for (const auto& info : deleted) {
    std::string text;
    uoexpress::ReadDeletedMessageText(file.path(), info.DataOffset, text, true);
    add(info.DataOffset, {"deleted", text});
  }
  const auto listed = uoexpress::FirstBlocks(live, deleted);
  std::vector<uoexpress::Toe5_FoundMessage> found;
  uoexpress::ReadFoundMessageInfos(file.path(), listed, found);
  for (const auto& message : found) {
    std::string text;
    uoexpress::ReadFoundMessageText(file.path(), message, text, true);
    EXPECT_FALSE(text.empty()) << message.DataOffset;
    add(message.DataOffset, {"found", text, message.Fragment});
  }
  return recovered;
}

std::string ExpectedText(const StoredMessage& message) {
  return message.deleted ? StoreBuilder::DeletedText(message.text) : message.text;
}

using Survives = std::function<bool(std::int64_t offset, std::int64_t size)>;

// Messages whose blocks all survive are listed once with their whole text; every found message
// starts at a block and its text is what the blocks from there on hold.
void ExpectRecovered(const std::string& damaged, const Survives& survives) {
  const Store& store = IntactStore();
  std::map<std::int64_t, Recovered> recovered = RecoverEverything(damaged);
  std::map<std::int64_t, std::pair<const StoredMessage*, std::size_t>> block_owner;
  for (const auto& message : store.messages)
    for (std::size_t b = 0; b < message.blocks.size(); ++b)
      block_owner[message.blocks[b]] = {&message, b};

  int surviving = 0;
  for (const auto& message : store.messages) {
    bool whole = std::all_of(message.blocks.begin(), message.blocks.end(),
                             [&](std::int64_t block) { return survives(block, kBlockSize); });
    if (!whole)
      continue;
    ++surviving;
    auto found = recovered.find(message.blocks.front());
    ASSERT_NE(found, recovered.end()) << "lost: " << message.text.substr(0, 60);
    EXPECT_EQ(found->second.text, ExpectedText(message)) << found->second.kind;
    EXPECT_FALSE(found->second.fragment);
  }
  EXPECT_GT(surviving, 0);
  for (const auto& [offset, message] : recovered) {
    if (message.kind != "found")
      continue;
    auto owner = block_owner.find(offset);
    ASSERT_NE(owner, block_owner.end()) << "found where no block is: " << offset;
    const auto& [stored, first] = owner->second;
    std::string rest = ExpectedText(*stored).substr(first * kBlockTextSize);
    EXPECT_TRUE(rest.starts_with(message.text)) << offset;
    EXPECT_EQ(message.fragment, first != 0) << offset;
  }
}

std::string WithZeroes(std::string bytes, std::int64_t from, std::int64_t size) {
  from = std::min<std::int64_t>(from, static_cast<std::int64_t>(bytes.size()));
  size = std::min<std::int64_t>(size, static_cast<std::int64_t>(bytes.size()) - from);
  std::memset(bytes.data() + from, 0, static_cast<std::size_t>(size));
  return bytes;
}

TEST(DeepScan, IntactStoreGainsNothing) {
  const Store& store = IntactStore();
  TempStore file(store.bytes);
  std::vector<uoexpress::Toe5_MessageInfo> live, deleted;
  uoexpress::ReadMessageInfos(file.path(), live);
  uoexpress::ReadDeletedMessageInfos(file.path(), deleted);
  const auto listed = uoexpress::FirstBlocks(live, deleted);
  std::vector<uoexpress::Toe5_FoundMessage> found;
  uoexpress::ReadFoundMessageInfos(file.path(), listed, found);
  EXPECT_TRUE(found.empty());
  // Without the listings every message is found, in file order, none a fragment.
  uoexpress::ReadFoundMessageInfos(file.path(), {}, found);
  ASSERT_EQ(found.size(), store.messages.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    EXPECT_EQ(found[i].DataOffset, store.messages[i].blocks.front());
    EXPECT_EQ(found[i].BlockCount, static_cast<std::int32_t>(store.messages[i].blocks.size()));
    EXPECT_EQ(found[i].FreedBlocks, store.messages[i].deleted) << i;
  }
}

TEST(DeepScan, DamagedHeadersAndIndexes) {
  const Store& store = IntactStore();
  auto everywhere = [](std::int64_t, std::int64_t) { return true; };
  struct Case {
    const char* damage;
    std::string bytes;
  } cases[] = {
      {"header zeroed", WithZeroes(store.bytes, 0, 0x24BC)},
      {"index tree zeroed", WithZeroes(store.bytes, store.index_start, 1 << 30)},
      {"message count 0", WithZeroes(store.bytes, 196, 4)},
      {"deleted-chain head lost", WithZeroes(store.bytes, 72, 4)},
      {"every record zeroed",
       [&] {
         std::string bytes = store.bytes;
         for (const auto& message : store.messages)
           bytes = WithZeroes(bytes, message.record, 12);
         return bytes;
       }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.damage);
    ExpectRecovered(c.bytes, everywhere);
  }
}

TEST(DeepScan, CutShortFiles) {
  const Store& store = IntactStore();
  const auto size = static_cast<std::int64_t>(store.bytes.size());
  for (std::int64_t cut : {size * 3 / 5, size / 3, size / 2 + 1, store.index_start, size - 1}) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    ExpectRecovered(store.bytes.substr(0, static_cast<std::size_t>(cut)),
                    [&](std::int64_t at, std::int64_t length) { return at + length <= cut; });
  }
}

TEST(DeepScan, ZeroedRunsLoseOnlyWhatTheyHit) {
  const Store& store = IntactStore();
  std::mt19937 random(31);
  for (int run = 0; run < 10; ++run) {
    const std::int64_t length = run % 2 ? 1 << 20 : 8192;
    const auto begin = static_cast<std::int64_t>(random() % store.bytes.size()) & ~3;
    SCOPED_TRACE("zeroed from " + std::to_string(begin) + ", " + std::to_string(length));
    ExpectRecovered(WithZeroes(store.bytes, begin, length),
                    [&](std::int64_t at, std::int64_t size) {
                      return at + size <= begin || at >= begin + length;
                    });
  }
}

// Stop during the pass keeps the messages whose blocks the pass had reached.
TEST(DeepScan, StopKeepsWhatThePassFound) {
  const Store& store = IntactStore();
  TempStore file(store.bytes);
  constexpr std::int64_t kPiece = 1 << 20;
  std::vector<uoexpress::Toe5_FoundMessage> found;
  uoexpress::ReadFoundMessageInfos(file.path(), {}, found, [](std::int64_t scanned, std::int64_t) {
    if (scanned >= kPiece)
      platform::SetStopRequested(true);
  });
  platform::SetStopRequested(false);
  ASSERT_GT(found.size(), 100u);
  EXPECT_LT(found.size(), store.messages.size() / 2);
  for (const auto& message : found)
    EXPECT_LT(message.DataOffset, kPiece);
}

TEST(DeepScan, MessageWithoutItsFirstBlockIsAFragment) {
  const Store& store = IntactStore();
  auto with_three_blocks = [&](bool deleted) -> const StoredMessage& {
    return *std::find_if(store.messages.begin(), store.messages.end(), [&](const auto& m) {
      return m.deleted == deleted && m.blocks.size() >= 3;
    });
  };
  const StoredMessage& live = with_three_blocks(false);
  const StoredMessage& deleted = with_three_blocks(true);
  std::string bytes = WithZeroes(store.bytes, live.blocks[0], kBlockSize);
  bytes = WithZeroes(bytes, deleted.blocks[0], kBlockSize);
  std::map<std::int64_t, Recovered> recovered = RecoverEverything(bytes);
  for (const StoredMessage* message : {&live, &deleted}) {
    auto found = recovered.find(message->blocks[1]);
    ASSERT_NE(found, recovered.end());
    EXPECT_EQ(found->second.kind, "found");
    EXPECT_TRUE(found->second.fragment);
    EXPECT_EQ(found->second.text, ExpectedText(*message).substr(kBlockTextSize));
  }
}

// A source of zeros past 4 GiB with a few blocks in it, held as those blocks alone: offsets past
// 2 GiB are negative as signed numbers, and a block at or past 4 GiB belongs to a folder file
// that starts further on in the source (an image holds many).
class SparseFile final : public platform::RandomAccessFile {
public:
  static inline std::map<std::int64_t, std::string> blocks;
  static constexpr std::int64_t kSize = (std::int64_t{1} << 32) + (1 << 16);

  std::size_t ReadAt(std::int64_t offset, char* buffer, std::size_t size) override {
    if (offset < 0 || offset >= kSize)
      return 0;
    size = static_cast<std::size_t>(std::min<std::int64_t>(size, kSize - offset));
    std::memset(buffer, 0, size);
    for (const auto& [at, bytes] : blocks)
      for (std::size_t i = 0; i < bytes.size(); ++i)
        if (at + std::int64_t(i) >= offset && at + std::int64_t(i) < offset + std::int64_t(size))
          buffer[at + std::int64_t(i) - offset] = bytes[i];
    return size;
  }
  std::int64_t Size() const override { return kSize; }

  static std::unique_ptr<platform::RandomAccessFile> Open(const std::string&) {
    return std::make_unique<SparseFile>();
  }
};

// The sparse source installed as the reader's file for one test, its blocks placed by hand.
struct SparseSource {
  SparseSource() {
    SparseFile::blocks.clear();
    platform::SetFileOpener(&SparseFile::Open);
  }
  ~SparseSource() { platform::SetFileOpener(nullptr); }

  // A live block at `at` holding the low 32 bits of its place as its own offset.
  void PutBlock(std::int64_t at, std::int32_t length, std::int32_t next, const std::string& text) {
    DbxImage block;
    block.Block(0, length, next, text);
    std::string bytes = block.bytes();
    const auto self = static_cast<std::uint32_t>(at);
    std::memcpy(bytes.data(), &self, 4);
    SparseFile::blocks[at] = bytes;
  }
};

TEST(DeepScan, SourcesPast4GiBAreSearchedWhole) {
  const std::int64_t offsets[] = {60116, (std::int64_t{1} << 31) + 528 * 7,
                                  (std::int64_t{1} << 32) - 532, (std::int64_t{1} << 32) + 16};
  SparseSource source;
  for (std::int64_t at : offsets)
    source.PutBlock(at, 15, 0, "Subject: far\r\n");
  std::vector<uoexpress::Toe5_FoundMessage> found;
  uoexpress::ReadFoundMessageInfos("sparse.dbx", {}, found);
  ASSERT_EQ(found.size(), 4u);
  for (std::size_t i = 0; i < found.size(); ++i) {
    EXPECT_EQ(found[i].DataOffset, offsets[i]);
    EXPECT_EQ(found[i].FileStart, i < 3 ? 0 : std::int64_t{1} << 32);
    std::string text;
    uoexpress::ReadFoundMessageText("sparse.dbx", found[i], text, true);
    EXPECT_EQ(text, "Subject: far\r\n");
  }
}

// Hand-made block layouts: what links into a chain, and what does not.
constexpr std::int32_t kFirst = 60116;

std::int32_t At(int block) {
  return kFirst + kBlockSize * block;
}

std::string Text(char letter, std::size_t size = 40) {
  return "Subject: " + std::string(size, letter) + "\r\n";
}

void LiveBlock(DbxImage& image, int block, int next, char letter) {
  std::string text = Text(letter);
  image.Block(At(block), static_cast<std::int32_t>(text.size()), next < 0 ? 0 : At(next), text);
}

void FreedBlock(DbxImage& image, int block, int next, int link, char letter) {
  image.DeletedBlock(At(block), kBlockSize, next < 0 ? 0 : At(next), link < 0 ? 0 : At(link),
                     std::string(kBlockTextSize, letter));
}

struct Chain {
  std::int64_t first;
  std::int32_t blocks;
  bool freed;
  std::string text;
};

std::vector<Chain> Found(const DbxImage& image,
                         std::vector<uoexpress::Toe5_ListedBlock> listed = {}) {
  TempStore file(image);
  std::vector<uoexpress::Toe5_FoundMessage> found;
  uoexpress::ReadFoundMessageInfos(file.path(), listed, found);
  std::vector<Chain> chains;
  for (const auto& message : found) {
    std::string text;
    uoexpress::ReadFoundMessageText(file.path(), message, text, true);
    chains.push_back({message.DataOffset, message.BlockCount, message.FreedBlocks, text});
  }
  return chains;
}

void ExpectChains(const std::vector<Chain>& found, const std::vector<Chain>& expected) {
  ASSERT_EQ(found.size(), expected.size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    EXPECT_EQ(found[i].first, expected[i].first) << i;
    EXPECT_EQ(found[i].blocks, expected[i].blocks) << i;
    EXPECT_EQ(found[i].freed, expected[i].freed) << i;
    EXPECT_EQ(found[i].text, expected[i].text) << i;
  }
}

std::string FreedText(char letter) {
  return "____" + std::string(kBlockTextSize - 4, letter);
}

TEST(DeepScan, HowBlocksLinkIntoChains) {
  struct Case {
    const char* layout;
    std::function<void(DbxImage&)> build;
    std::vector<Chain> expected;
  } cases[] = {
      {"a freed block naming a block since reused by a live message",
       [](DbxImage& image) {
         FreedBlock(image, 0, 1, -1, 'a');
         FreedBlock(image, 1, 2, 0, 'b');
         LiveBlock(image, 2, -1, 'c'); // reused: it was the freed message's third block
       },
       {{At(0), 2, true, FreedText('a') + FreedText('b')}, {At(2), 1, false, Text('c')}}},
      {"two blocks naming the same next block",
       [](DbxImage& image) {
         LiveBlock(image, 0, 2, 'a');
         LiveBlock(image, 1, 2, 'b');
         LiveBlock(image, 2, -1, 'c');
       },
       {{At(0), 2, false, Text('a') + Text('c')}, {At(1), 1, false, Text('b')}}},
      {"a chain closing on itself, read from its lowest block",
       [](DbxImage& image) {
         LiveBlock(image, 1, 2, 'b');
         LiveBlock(image, 2, 0, 'c');
         LiveBlock(image, 0, 1, 'a');
       },
       {{At(0), 3, false, Text('a') + Text('b') + Text('c')}}},
      {"next-block offsets pointing backwards",
       [](DbxImage& image) {
         LiveBlock(image, 2, 1, 'c');
         LiveBlock(image, 1, 0, 'b');
         LiveBlock(image, 0, -1, 'a');
       },
       {{At(2), 3, false, Text('c') + Text('b') + Text('a')}}},
      {"a block naming itself",
       [](DbxImage& image) { LiveBlock(image, 0, 0, 'a'); },
       {{At(0), 1, false, Text('a')}}},
      {"a next block beyond the end of the file",
       [](DbxImage& image) { LiveBlock(image, 0, 900, 'a'); },
       {{At(0), 1, false, Text('a')}}},
      {"a block shape inside another block's text is text",
       [](DbxImage& image) {
         LiveBlock(image, 0, -1, 'a');
         DbxImage inner;
         inner.Block(At(0) + 68, 20, 0, "Subject: inner\r\n");
         image.PutBytes(At(0) + 68, std::string_view(inner.bytes()).substr(At(0) + 68, 60));
       },
       {{At(0), 1, false, Text('a')}}},
      {"blocks without text",
       [](DbxImage& image) {
         image.Block(At(0), 0, At(1), "");
         image.DeletedBlock(At(1), kBlockSize, 0, 0, "");
       },
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    DbxImage image;
    c.build(image);
    ExpectChains(Found(image), c.expected);
  }
}

// Ways a message came back twice or not at all: each layout with the first blocks the index and
// the deleted chain list, and what the deep scan must add.
TEST(DeepScan, NoMessageTwiceNoneLost) {
  struct Case {
    const char* layout;
    std::function<void(DbxImage&)> build;
    std::vector<uoexpress::Toe5_ListedBlock> listed;
    std::vector<Chain> expected;
  } cases[] = {
      {"a listed message's middle block fails the shape test but not the reader's test",
       [](DbxImage& image) {
         LiveBlock(image, 0, 1, 'a');
         LiveBlock(image, 1, 2, 'b');
         image.PutInt32(At(1) + 4, 0); // capacity word lost
         LiveBlock(image, 2, -1, 'c');
       },
       {{At(0), false}},
       {}},
      {"a deleted message's stale next block reused by a live one-block message",
       [](DbxImage& image) {
         FreedBlock(image, 0, 1, -1, 'a');
         FreedBlock(image, 1, 2, 0, 'b');
         LiveBlock(image, 2, -1, 'c');
       },
       {{At(0), true}},
       {{At(2), 1, false, Text('c')}}},
      {"a false block shape in front of a real block",
       [](DbxImage& image) {
         image.Block(At(0), 4, 0, "abcd");
         image.Block(At(0) + 100, 20, 0, "Subject: real one\r\n");
       },
       {},
       {{At(0) + 100, 1, false, "Subject: real one\r\n"}}},
      {"a false block shape in front of a real chain",
       [](DbxImage& image) {
         image.Block(At(1) - 300, 3, 0, "xyz");
         LiveBlock(image, 1, 2, 'a');
         LiveBlock(image, 2, -1, 'b');
       },
       {},
       {{At(1), 2, false, Text('a') + Text('b')}}},
      {"a freed block that begins a message, named by a freed block of another",
       [](DbxImage& image) {
         FreedBlock(image, 0, 1, -1, 'a');
         image.DeletedBlock(At(1), kBlockSize, 0, At(0),
                            "Subject: second" + std::string(kBlockTextSize - 15, 'b'));
       },
       {},
       {{At(0), 1, true, FreedText('a')},
        {At(1), 1, true, "____ect: second" + std::string(kBlockTextSize - 15, 'b')}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.layout);
    DbxImage image;
    c.build(image);
    ExpectChains(Found(image, c.listed), c.expected);
  }
}

// A chain is a fragment when its first block does not open a message, also when it opens with
// what looks like a field but goes on with a header line or a MIME part.
TEST(DeepScan, FragmentsAreTheChainsThatDoNotOpenAMessage) {
  struct Case {
    std::string text;
    bool freed;
    bool fragment;
  } cases[] = {
      {"Received: from a.example\r\n", false, false},
      {"eived: from a.example\r\n", false, true},
      {"Content-Type: text/plain\r\n\r\nbody", false, true},
      {"X-Mailer: Outlook Express\r\n", false, false},
      {"just text\r\n", false, true},
      {"Return-Path: <a@example.org>\r\n", true, false}, // read as "____rn-Path:"
      {"From: a@example.org\r\n", true, false},          // read as "____: a@..."
      {"Content-Type: text/plain\r\n", true, true},      // "____ent-Type:"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    DbxImage image;
    if (c.freed)
      image.DeletedBlock(At(0), static_cast<std::int32_t>(c.text.size()) + 16, 0, 0, c.text);
    else
      image.Block(At(0), static_cast<std::int32_t>(c.text.size()), 0, c.text);
    LiveBlock(image, 1, -1, 'b'); // a block alone in its file might be bytes that look like one
    TempStore file(image);
    std::vector<uoexpress::Toe5_FoundMessage> found;
    uoexpress::ReadFoundMessageInfos(file.path(), {}, found);
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Fragment, c.fragment);
  }
}

// A fragmented file's runs of bytes end on cluster ends, so a block over one is whole only where
// its file goes on in place. Here a file lies in two runs whose starts tell 4 KiB clusters; a
// message's last block runs over a cluster's end, past which stands no block of the file, only
// a structure holding its own offset (an index node, say): the file goes on in place.
TEST(DeepScan, ABlockOverAClusterEndIsWholeWhereItsFileGoesOnInPlace) {
  const std::string head = "Subject: over a cluster's end\r\n";
  const std::string first = head + std::string(kBlockTextSize - head.size(), 'a');
  const std::string last = "the end\r\n";
  DbxImage file(16384);
  file.Block(3272, kBlockTextSize, 3800, first);
  file.Block(3800, static_cast<std::int32_t>(last.size()), 0, last); // over 4096
  file.PutUInt32(3800 + kBlockSize, 3800 + kBlockSize);
  file.Block(8292, 40, 8820, Text('b')); // the second run's own message
  file.Block(8820, 40, 0, Text('c'));
  DbxImage source(36000);
  source.PutBytes(4096, std::string_view(file.bytes()).substr(0, 8192));
  source.PutBytes(24576, std::string_view(file.bytes()).substr(8192)); // its file starts at 16384

  const std::vector<Chain> found = Found(source);
  ASSERT_FALSE(found.empty());
  EXPECT_EQ(found[0].first, 4096 + 3272);
  EXPECT_EQ(found[0].blocks, 2);
  EXPECT_EQ(found[0].text, first + last);
}

// A listed message whose chain crosses 2 GiB is read, and claimed, only up to there: the
// readers take offsets as signed numbers, so the block past 2 GiB is the deep scan's to find.
TEST(DeepScan, ClaimsReadOffsetsAsTheReadersDo) {
  const std::int64_t far = (std::int64_t{1} << 31) + 528 * 7;
  SparseSource source;
  source.PutBlock(At(0), static_cast<std::int32_t>(Text('a').size()),
                  static_cast<std::int32_t>(far), Text('a'));
  source.PutBlock(far, kBlockTextSize, 0, std::string(kBlockTextSize, 'z'));
  std::string listed_text;
  uoexpress::ReadDeletedMessageText("sparse.dbx", At(0), listed_text, true);
  EXPECT_EQ(listed_text.find('z'), std::string::npos); // the reader stops at the first block
  const uoexpress::Toe5_ListedBlock listed[] = {{At(0), false}};
  std::vector<uoexpress::Toe5_FoundMessage> found;
  uoexpress::ReadFoundMessageInfos("sparse.dbx", listed, found);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].DataOffset, far);
  EXPECT_TRUE(found[0].Fragment);
}

} // namespace
} // namespace dbxtest
