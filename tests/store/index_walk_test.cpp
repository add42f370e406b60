// The order and the safeguards of the index walk, and the fallback table.
#include "store_test_util.h"

#include <gtest/gtest.h>

namespace dbxtest {
namespace {

// Records live at 5000 + 100 * i and name data block 9000 + 1000 * i.
std::int32_t RecordAt(int i) {
  return 5000 + 100 * i;
}
std::int32_t DataOf(int i) {
  return 9000 + 1000 * i;
}

void PutRecord(DbxImage& image, int i, std::int32_t data = 0) {
  image.Record(RecordAt(i), {{0x84, static_cast<std::uint32_t>(data ? data : DataOf(i))}}, "");
}

DbxImage Empty(std::int32_t count, std::int32_t root) {
  DbxImage image(4096);
  image.SetMessageCount(count);
  image.SetRootNode(root);
  return image;
}

// Expected listing order as record numbers.
std::vector<std::int32_t> Records(std::initializer_list<int> numbers) {
  std::vector<std::int32_t> offsets;
  for (int i : numbers)
    offsets.push_back(RecordAt(i));
  return offsets;
}

TEST(IndexWalk, LinksThenProbedNodeThenEntriesEachBeforeItsSubtree) {
  DbxImage image = Empty(100, 1000);
  for (int i = 0; i < 12; ++i)
    PutRecord(image, i);
  // Root 1000: first link 1200, second link 1400, entries r0 (child 1600), r1.
  image.Node(1000, 1200, 1400, {{RecordAt(0), 1600}, {RecordAt(1), 0}});
  image.Node(1200, 0, 0, {{RecordAt(2), 0}, {RecordAt(3), 0}});
  image.Node(1400, 1800, 0, {{RecordAt(4), 0}});
  image.Node(1800, 0, 0, {{RecordAt(5), 0}});
  image.Node(1600, 0, 0, {{RecordAt(6), 0}, {RecordAt(7), 2000}, {RecordAt(8), 0}});
  image.Node(2000, 0, 0, {{RecordAt(9), 0}});
  EXPECT_EQ(InfoOffsets(Listing(image)), Records({2, 3, 5, 4, 0, 6, 7, 9, 8, 1}));
}

TEST(IndexWalk, NodesNamingEachOtherAreWalkedOnce) {
  DbxImage image = Empty(100, 1000);
  PutRecord(image, 0);
  PutRecord(image, 1);
  image.Node(1000, 1200, 1200, {{RecordAt(0), 1000}});
  image.Node(1200, 1000, 1200, {{RecordAt(1), 1200}});
  EXPECT_EQ(InfoOffsets(Listing(image)), Records({1, 0}));
}

TEST(IndexWalk, DuplicateDataOffsetsListOnlyTheFirstMet) {
  DbxImage image = Empty(100, 1000);
  PutRecord(image, 0, 7777);
  PutRecord(image, 1, 7777);
  PutRecord(image, 2);
  image.Node(1000, 0, 0, {{RecordAt(0), 0}, {RecordAt(1), 0}, {RecordAt(2), 0}, {RecordAt(0), 0}});
  EXPECT_EQ(InfoOffsets(Listing(image)), Records({0, 2}));
}

TEST(IndexWalk, CountWordBelow256GivesNoEntriesButLinksAreWalked) {
  DbxImage image = Empty(100, 1000);
  PutRecord(image, 0);
  PutRecord(image, 1);
  image.Node(1000, 1200, 0, {{RecordAt(0), 0}}, 0xFF);
  image.Node(1200, 0, 0, {{RecordAt(1), 0}});
  EXPECT_EQ(InfoOffsets(Listing(image)), Records({1}));
}

TEST(IndexWalk, CountWordLandingOnANodeIsWalkedAndWidensTheEntryArea) {
  // Count word 0x0310 = 3 entries; a node header stands at 0x0310 = 784.
  DbxImage image = Empty(100, 1000);
  for (int i = 0; i < 6; ++i)
    PutRecord(image, i);
  std::vector<NodeEntry> entries = {{RecordAt(0), 0}, {RecordAt(1), 0}, {RecordAt(2), 0}};
  image.Node(1000, 0, 0, entries, 0x0310);
  // Entries 4 and 49 of the widened area lie beyond the three written ones.
  image.PutInt32(1000 + 24 + 12 * 4, RecordAt(3));
  image.PutInt32(1000 + 24 + 12 * 49, RecordAt(4));
  image.PutInt32(1000 + 24 + 12 * 50, RecordAt(5)); // the 51st is never read
  image.Node(784, 0, 0, {{RecordAt(5), 0}});
  EXPECT_EQ(InfoOffsets(Listing(image)), Records({5, 0, 1, 2, 3, 4}));
}

TEST(IndexWalk, ProbedNodeAlreadyWalkedStillWidensTheArea) {
  // The count word names the root itself: its header passes, it is not walked again, and
  // the entry area is read as 50 entries.
  DbxImage image = Empty(100, 2 * 256);
  PutRecord(image, 0);
  PutRecord(image, 1);
  image.Node(512, 0, 0, {{RecordAt(0), 0}}, 512);
  image.PutInt32(512 + 24 + 12 * 30, RecordAt(1));
  EXPECT_EQ(InfoOffsets(Listing(image)), Records({0, 1}));
}

TEST(IndexWalk, UnusableRootsAndCounts) {
  struct Case {
    const char* name;
    std::int32_t count;
    std::int32_t root;
    std::size_t expected;
  };
  const Case cases[] = {{"root zero", 5, 0, 0},
                        {"root negative", 5, -1000, 0},
                        {"root fails self test", 5, 1004, 0},
                        {"count zero", 0, 1000, 0},
                        {"count negative", -1, 1000, 0},
                        {"intact", 5, 1000, 2}};
  for (const auto& c : cases) {
    DbxImage image = Empty(c.count, c.root);
    PutRecord(image, 0);
    PutRecord(image, 1);
    image.Node(1000, 0, 0, {{RecordAt(0), 0}, {RecordAt(1), 0}});
    EXPECT_EQ(Listing(image).size(), c.expected) << c.name;
  }
}

TEST(IndexWalk, FileEndingBeforeTheMessageCountIsEmpty) {
  DbxImage image = Empty(5, 1000);
  image.bytes().resize(196);
  EXPECT_TRUE(Listing(image).empty());
}

TEST(IndexWalk, EntriesPastTheEndOfTheFileAreAbsent) {
  DbxImage image = Empty(5, 1000);
  PutRecord(image, 0);
  image.Node(1000, 0, 0, {{RecordAt(0), 0}}, 0xFFFFFF00); // claims 16 million entries
  image.bytes().resize(6000);
  EXPECT_EQ(InfoOffsets(Listing(image)), Records({0}));
}

TEST(FallbackTable, RunsOnlyWhenTheWalkFoundFewerThanDeclared) {
  struct Case {
    std::int32_t declared;
    std::vector<std::int32_t> expected;
  };
  const Case cases[] = {{2, Records({0, 1})}, {3, Records({0, 1, 2})}, {4, Records({0, 1, 2})}};
  for (const auto& c : cases) {
    DbxImage image = Empty(c.declared, 1000);
    for (int i = 0; i < 3; ++i)
      PutRecord(image, i);
    image.Node(1000, 0, 0, {{RecordAt(0), 0}, {RecordAt(1), 0}});
    // The table repeats a listed record, has an empty slot, and adds record 2.
    image.FallbackTable({RecordAt(1), 0, RecordAt(2), -7});
    EXPECT_EQ(InfoOffsets(Listing(image)), c.expected) << c.declared;
  }
}

TEST(FallbackTable, NeedsItsSelfOffsetAndAPositiveLength) {
  struct Case {
    const char* name;
    std::int32_t length;
    bool self_offset_right;
    std::size_t expected;
  };
  const Case cases[] = {{"intact", 48, true, 1},
                        {"length zero", 0, true, 0},
                        {"length negative", -48, true, 0},
                        {"length covers header only", 24, true, 0},
                        {"wrong self offset", 48, false, 0}};
  for (const auto& c : cases) {
    DbxImage image = Empty(3, 0);
    PutRecord(image, 0);
    image.FallbackTable({RecordAt(0), 0});
    image.PutInt32(kFallbackLengthField, c.length);
    if (!c.self_offset_right)
      image.PutInt32(kFallbackTable, 0);
    EXPECT_EQ(Listing(image).size(), c.expected) << c.name;
  }
}

TEST(IndexWalk, StopEndsTheWalkButNodesAlreadyReadKeepDecoding) {
  DbxImage image = Empty(100, 1000);
  for (int i = 0; i < 4; ++i)
    PutRecord(image, i);
  image.Node(1000, 0, 0, {{RecordAt(0), 1200}, {RecordAt(1), 0}});
  image.Node(1200, 0, 0, {{RecordAt(2), 0}, {RecordAt(3), 0}});
  {
    // The second pump call is the one before node 1200: it is never read.
    CountingPump pump(2);
    EXPECT_EQ(InfoOffsets(Listing(image)), Records({0, 1}));
  }
  {
    ScopedStop stop;
    EXPECT_TRUE(Listing(image).empty());
  }
}

TEST(IndexWalk, DeepChainsOfNodesDoNotExhaustTheStack) {
  constexpr int kNodes = 200000;
  DbxImage image(static_cast<std::size_t>(100000 + 40 * kNodes));
  image.SetMessageCount(1);
  image.SetRootNode(100000);
  for (int i = 0; i < kNodes; ++i) {
    std::int32_t node = 100000 + 40 * i;
    image.Node(node, i + 1 < kNodes ? node + 40 : 0, 0, {});
  }
  PutRecord(image, 0);
  image.PutUInt32(100000 + 40 * (kNodes - 1) + 16, 1 << 8);
  image.PutInt32(100000 + 40 * (kNodes - 1) + 24, RecordAt(0));
  EXPECT_EQ(InfoOffsets(Listing(image)), Records({0}));
}

TEST(IndexWalk, ListIsAppendedToNotCleared) {
  DbxImage image = Empty(1, 1000);
  PutRecord(image, 0);
  image.Node(1000, 0, 0, {{RecordAt(0), 0}});
  TempStore store(image);
  std::vector<uoexpress::Toe5_MessageInfo> list(1);
  uoexpress::ReadMessageInfos(store.path(), list);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].InfoOffset, RecordAt(0));
}

TEST(Reader, MissingFileRaisesTheOpenError) {
  std::vector<uoexpress::Toe5_MessageInfo> list;
  std::string text = "kept";
  const std::string path = "/nonexistent/Inbox.dbx";
  try {
    uoexpress::ReadMessageInfos(path, list);
    FAIL();
  } catch (const uoexpress::EFOpenError& error) {
    EXPECT_STREQ(error.what(), "Cannot open file /nonexistent/Inbox.dbx");
  }
  EXPECT_THROW(uoexpress::ReadDeletedMessageInfos(path, list), uoexpress::EFOpenError);
  EXPECT_THROW(uoexpress::ReadMessageText(path, 100, text, true), uoexpress::EFOpenError);
  EXPECT_THROW(uoexpress::ReadDeletedMessageText(path, 100, text, true), uoexpress::EFOpenError);
  EXPECT_EQ(text, "kept");
  // A non-positive offset opens nothing and leaves the text alone.
  EXPECT_NO_THROW(uoexpress::ReadMessageText(path, 0, text, true));
  EXPECT_EQ(text, "kept");
}

} // namespace
} // namespace dbxtest
