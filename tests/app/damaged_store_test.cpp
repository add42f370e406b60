// Whole scans of damaged folder files: truncated, with zeroed runs, with index nodes that
// point into message data, and with deleted chains that loop or cross into live messages.
// Each scan must end and list what the damage left readable, and nothing else.
#include "workflow_fixture.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <set>
#include <utility>

namespace testenv {
namespace {

using dbxtest::StoreBuilder;

constexpr std::int32_t kBlock = dbxtest::kBlockSize;
constexpr int kMessages = 30;

// A row's identity: deleted or not, and its first data block.
using RowKey = std::pair<bool, std::int64_t>;

struct Layout {
  std::vector<std::vector<std::int32_t>> blocks; // per message, in text order
  std::vector<std::int32_t> records;
  std::vector<int> chain;    // deleted messages in the order the deleted chain meets them
  std::int64_t data_end = 0; // the index tree lies from here to the end of the file
  dbxtest::DbxImage image;
};

std::string SubjectOf(int message) {
  return "message " + std::to_string(message);
}

// Thirty messages of 1 to 12 blocks; every fourth is deleted, the later ones first, so the
// deleted chain runs from the lowest offsets to the highest.
Layout BuildLayout() {
  StoreBuilder builder;
  Layout layout;
  std::mt19937 random(9);
  for (int i = 0; i < kMessages; ++i) {
    std::size_t size = 200 + random() % 6000;
    std::string text = Message(SubjectOf(i), "a@example.org", std::string(size, 'x') + "\r\n");
    dbxtest::MessageFields fields;
    fields.subject = SubjectOf(i);
    int index = builder.AddMessage(text, fields);
    std::size_t count = (text.size() + dbxtest::kBlockTextSize - 1) / dbxtest::kBlockTextSize;
    std::vector<std::int32_t> blocks;
    for (std::size_t b = 0; b < count; ++b)
      blocks.push_back(builder.DataOffset(index) + kBlock * static_cast<std::int32_t>(b));
    layout.blocks.push_back(blocks);
    layout.records.push_back(builder.InfoOffset(index));
  }
  for (int i = kMessages - 1; i >= 0; --i)
    if (i % 4 == 3) {
      builder.DeleteMessage(i);
      layout.chain.insert(layout.chain.begin(), i);
    }
  layout.data_end = layout.records.back() + 256;
  layout.image = builder.Build(4); // a small fan-out for a deep tree
  return layout;
}

const Layout& Intact() {
  static const Layout layout = BuildLayout();
  return layout;
}

struct ScanResult {
  std::map<RowKey, std::string> subjects;
  std::size_t rows = 0;
  bool ended = false;
};

ScanResult ScanImage(const dbxtest::DbxImage& image) {
  WorkflowFixture fixture;
  fixture.WriteFolderFile("Inbox.dbx", image);
  RecordingObserver observer;
  app::RecoveredList list = fixture.Scan({{"Inbox.dbx", true}}, observer);
  ScanResult result;
  result.rows = list.Count();
  for (const auto& row : list.Rows())
    result.subjects[{row.message.Deleted, row.message.DataOffset}] = row.subject;
  result.ended = !observer.events.empty() && observer.events.back().starts_with("ended");
  return result;
}

// Every block of the store, as a deleted chain damaged by us may present any of them.
std::set<std::int64_t> AllBlocks(const Layout& layout) {
  std::set<std::int64_t> blocks;
  for (const auto& message : layout.blocks)
    blocks.insert(message.begin(), message.end());
  return blocks;
}

// The deleted messages the chain still reveals when only blocks passing `intact` can be read:
// a message's start shows once the chain has read all its blocks and the next message's last
// block (or when it is the chain's end).
std::vector<int> SurvivingDeleted(const Layout& layout, auto intact) {
  std::vector<int> survivors;
  for (std::size_t p = 0; p < layout.chain.size(); ++p) {
    const auto& blocks = layout.blocks[layout.chain[p]];
    if (!std::all_of(blocks.begin(), blocks.end(), intact))
      break;
    if (p + 1 < layout.chain.size() && !intact(layout.blocks[layout.chain[p + 1]].back()))
      break;
    survivors.push_back(layout.chain[p]);
  }
  return survivors;
}

void ExpectListed(const ScanResult& result, bool deleted, int message, const Layout& layout) {
  auto found = result.subjects.find({deleted, layout.blocks[message].front()});
  ASSERT_NE(found, result.subjects.end()) << (deleted ? "deleted " : "live ") << message;
  EXPECT_EQ(found->second, SubjectOf(message));
}

// Rows are unique, and every one stands at a block of the store: nothing is made up.
void ExpectNothingInvented(const ScanResult& result, const Layout& layout) {
  EXPECT_TRUE(result.ended);
  EXPECT_EQ(result.subjects.size(), result.rows) << "a message was listed twice";
  std::set<std::int64_t> blocks = AllBlocks(layout);
  for (const auto& [key, subject] : result.subjects) {
    EXPECT_TRUE(blocks.contains(key.second)) << key.second;
    if (!key.first) {
      // A structured binding is captured through a copy: clang 14 cannot capture one.
      const std::int64_t block = key.second;
      bool first_block = std::any_of(layout.blocks.begin(), layout.blocks.end(),
                                     [&](const auto& b) { return b.front() == block; });
      EXPECT_TRUE(first_block) << "live row at a message's inner block " << key.second;
    }
  }
}

TEST(DamagedStore, IntactStoreListsEveryMessage) {
  const Layout& layout = Intact();
  ScanResult result = ScanImage(layout.image);
  ExpectNothingInvented(result, layout);
  EXPECT_EQ(result.rows, static_cast<std::size_t>(kMessages));
  for (int i = 0; i < kMessages; ++i)
    ExpectListed(result, i % 4 == 3, i, layout);
}

TEST(DamagedStore, TruncatedAtRandomPointsListsTheDeletedMessagesBeforeTheCut) {
  const Layout& layout = Intact();
  std::mt19937 random(17);
  std::vector<std::int64_t> cuts = {0,
                                    1,
                                    100,
                                    60116,
                                    layout.data_end,
                                    static_cast<std::int64_t>(layout.image.bytes().size()) - 1};
  for (int i = 0; i < 14; ++i)
    cuts.push_back(random() % layout.image.bytes().size());
  std::size_t expected = 0;
  for (std::int64_t cut : cuts) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    dbxtest::DbxImage damaged = layout.image;
    damaged.bytes().resize(static_cast<std::size_t>(cut));
    ScanResult result = ScanImage(damaged);
    ExpectNothingInvented(result, layout);
    for (int message :
         SurvivingDeleted(layout, [&](std::int64_t b) { return b + kBlock <= cut; })) {
      ExpectListed(result, true, message, layout);
      ++expected;
    }
  }
  EXPECT_GE(expected, layout.chain.size()) << "the cuts leave too little to check";
}

TEST(DamagedStore, ZeroedRunsLoseOnlyTheMessagesTheyHit) {
  const Layout& layout = Intact();
  std::mt19937 random(23);
  for (int run = 0; run < 12; ++run) {
    std::int64_t begin = 60116 + (random() % (layout.data_end - 60116 - 4096)) / 4096 * 4096;
    std::int64_t end = begin + 4096;
    SCOPED_TRACE("zeroed " + std::to_string(begin) + ".." + std::to_string(end));
    dbxtest::DbxImage damaged = layout.image;
    std::memset(damaged.bytes().data() + begin, 0, 4096);
    ScanResult result = ScanImage(damaged);
    ExpectNothingInvented(result, layout);
    auto intact = [&](std::int64_t at, std::int64_t size) {
      return at + size <= begin || at >= end;
    };
    for (int i = 0; i < kMessages; ++i)
      if (i % 4 != 3 && intact(layout.records[i], 64) && intact(layout.blocks[i].front(), kBlock))
        ExpectListed(result, false, i, layout);
    for (int message : SurvivingDeleted(layout, [&](std::int64_t b) { return intact(b, kBlock); }))
      ExpectListed(result, true, message, layout);
  }
}

// Node links and child offsets aimed at blocks and records, which also begin with their own
// offset: the walk reads them as nodes and still lists every message of the real tree.
TEST(DamagedStore, IndexNodesPointingIntoMessageDataStillListTheRealTree) {
  const Layout& layout = Intact();
  auto root =
      static_cast<std::int32_t>(static_cast<unsigned char>(layout.image.bytes()[48]) |
                                (static_cast<unsigned char>(layout.image.bytes()[49]) << 8) |
                                (static_cast<unsigned char>(layout.image.bytes()[50]) << 16) |
                                (static_cast<unsigned char>(layout.image.bytes()[51]) << 24));
  struct Case {
    const char* name;
    std::int64_t field;
    std::int32_t target;
  };
  const Case cases[] = {
      {"second link to a live block", root + 8, layout.blocks[0].front()},
      {"second link to an inner block", root + 8, layout.blocks[1].back()},
      {"second link to a record", root + 8, layout.records[2]},
      {"second link to a deleted block", root + 8, layout.blocks[3].front()},
      {"second link to the root itself", root + 8, root},
      // A count word naming a structure makes the node's entry area read as a full one.
      {"count word to a block", root + 16, layout.blocks[4].front()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dbxtest::DbxImage damaged = layout.image;
    damaged.PutInt32(c.field, c.target);
    ScanResult result = ScanImage(damaged);
    ExpectNothingInvented(result, layout);
    for (int i = 0; i < kMessages; ++i)
      if (i % 4 != 3)
        ExpectListed(result, false, i, layout);
  }
}

// The deleted chain's links (the first four text bytes of a deleted block) and a block's
// next-block offset aimed backwards, at itself, or into live messages.
TEST(DamagedStore, DeletedChainsThatLoopOrCrossEndAndKeepWhatCameBefore) {
  const Layout& layout = Intact();
  const std::vector<int>& chain = layout.chain;
  // The last block the chain reads of the message at chain position p is its first one.
  auto link_of = [&](std::size_t p) { return layout.blocks[chain[p]].front() + 16; };
  auto next_of = [&](std::size_t p) { return layout.blocks[chain[p]].front() + 12; };
  struct Case {
    const char* name;
    std::int64_t field;
    std::int32_t target;
    std::size_t kept; // chain positions before this one are listed
  };
  const std::size_t last = chain.size() - 1;
  const Case cases[] = {
      {"end links back to the head", link_of(last), layout.blocks[chain[0]].back(), last},
      {"middle links back to the head", link_of(3), layout.blocks[chain[0]].back(), 3},
      {"middle links to itself", link_of(2), layout.blocks[chain[2]].front(), 2},
      {"middle links into a live message", link_of(4), layout.blocks[0].front(), 4},
      {"middle links into a live inner block", link_of(1), layout.blocks[5][1], 1},
      {"deleted block's next loops to itself", next_of(5), layout.blocks[chain[5]].front(), 5},
      {"deleted block's next crosses into a live one", next_of(6), layout.blocks[2].front(), 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dbxtest::DbxImage damaged = layout.image;
    damaged.PutInt32(c.field, c.target);
    ScanResult result = ScanImage(damaged);
    ExpectNothingInvented(result, layout);
    for (int i = 0; i < kMessages; ++i)
      if (i % 4 != 3)
        ExpectListed(result, false, i, layout);
    for (std::size_t p = 0; p < c.kept; ++p)
      ExpectListed(result, true, chain[p], layout);
  }
}

// A live message whose block chain loops back to its start is read once and listed.
TEST(DamagedStore, LiveBlockChainLoopingBackStillListsTheMessage) {
  const Layout& layout = Intact();
  dbxtest::DbxImage damaged = layout.image;
  const auto& blocks = layout.blocks[6];
  ASSERT_GT(blocks.size(), 1u);
  damaged.PutInt32(blocks.back() + 12, blocks.front());
  ScanResult result = ScanImage(damaged);
  ExpectNothingInvented(result, layout);
  ExpectListed(result, false, 6, layout);
}

} // namespace
} // namespace testenv
