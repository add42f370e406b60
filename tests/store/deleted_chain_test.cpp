// Finding where deleted messages begin in the deleted chain.
#include "store_test_util.h"

#include <gtest/gtest.h>
#include <map>

namespace dbxtest {
namespace {

struct ChainBlock {
  char name;
  bool last_of_message; // next block offset 0
};

std::int32_t OffsetOf(char name) {
  return 20000 + kBlockSize * (name - 'A');
}

// A chain of the named blocks, in chain order; the final block's link is 0.
DbxImage Chain(const std::vector<ChainBlock>& blocks) {
  DbxImage image(4096);
  image.SetDeletedHead(blocks.empty() ? 0 : OffsetOf(blocks.front().name));
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    std::int32_t link = i + 1 < blocks.size() ? OffsetOf(blocks[i + 1].name) : 0;
    std::int32_t next = blocks[i].last_of_message ? 0 : OffsetOf('Z');
    image.DeletedBlock(OffsetOf(blocks[i].name), 100, next, link, "text");
  }
  return image;
}

std::vector<std::int32_t> Offsets(const std::string& names) {
  std::vector<std::int32_t> offsets;
  for (char name : names)
    offsets.push_back(OffsetOf(name));
  return offsets;
}

TEST(DeletedChain, WhereMessagesBegin) {
  struct Case {
    const char* name;
    std::vector<ChainBlock> chain;
    std::string expected;
  };
  const Case cases[] = {
      {"empty", {}, ""},
      {"A", {{'A', false}}, "A"},
      {"A last", {{'A', true}}, "A"},
      {"AB", {{'A', false}, {'B', true}}, "AB"},
      {"ABC", {{'A', false}, {'B', false}, {'C', true}}, "BC"},
      {"ABCD", {{'A', false}, {'B', true}, {'C', false}, {'D', true}}, "ACD"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DataOffsets(DeletedListing(Chain(c.chain))), Offsets(c.expected)) << c.name;
}

TEST(DeletedChain, RecordsCarryOnlyTheDataOffset) {
  auto list = DeletedListing(Chain({{'A', false}}));
  ASSERT_EQ(list.size(), 1u);
  uoexpress::Toe5_MessageInfo expected;
  expected.DataOffset = OffsetOf('A');
  EXPECT_EQ(list[0], expected);
}

TEST(DeletedChain, BrokenLinkEndsTheWalkWithoutListingTheLastGoodBlock) {
  DbxImage image = Chain({{'A', false}, {'B', true}});
  image.PutInt32(OffsetOf('B') + 16, OffsetOf('C') + 8);
  EXPECT_EQ(DataOffsets(DeletedListing(image)), Offsets("A"));
}

TEST(DeletedChain, HeadThatIsNotABlockOrNotPositive) {
  for (std::int32_t head : {0, -528, 20004}) {
    DbxImage image = Chain({{'A', false}});
    image.SetDeletedHead(head);
    EXPECT_TRUE(DeletedListing(image).empty()) << head;
  }
}

TEST(DeletedChain, LoopsEndAtABlockAlreadyMet) {
  DbxImage image = Chain({{'A', false}, {'B', true}, {'C', false}});
  image.PutInt32(OffsetOf('C') + 16, OffsetOf('A'));
  EXPECT_EQ(DataOffsets(DeletedListing(image)), Offsets("A"));
}

TEST(DeletedChain, IgnoresTheMessageCountAndTheIndex) {
  DbxImage image = Chain({{'A', false}, {'B', true}});
  image.SetMessageCount(0);
  EXPECT_EQ(DataOffsets(DeletedListing(image)), Offsets("AB"));
}

TEST(DeletedChain, StopKeepsWhatWasListed) {
  DbxImage image = Chain({{'A', false}, {'B', true}, {'C', false}, {'D', true}});
  {
    CountingPump pump(4); // before block D
    EXPECT_EQ(DataOffsets(DeletedListing(image)), Offsets("A"));
  }
  ScopedStop stop;
  EXPECT_TRUE(DeletedListing(image).empty());
}

} // namespace
} // namespace dbxtest
