// Rebuilding message texts from block chains, live and deleted.
#include "store_test_util.h"

#include <gtest/gtest.h>

namespace dbxtest {
namespace {

constexpr std::int32_t kFirstBlock = 10000;

std::int32_t BlockAt(int i) {
  return kFirstBlock + kBlockSize * i;
}

// The text of block i: 512 letters that tell the block apart.
std::string Piece(int i) {
  return std::string(kBlockTextSize, static_cast<char>('A' + i % 26));
}

// A live chain of `blocks` full blocks.
DbxImage LiveChain(int blocks) {
  DbxImage image(4096);
  image.SetMessageCount(1);
  for (int i = 0; i < blocks; ++i)
    image.Block(BlockAt(i), kBlockTextSize, i + 1 < blocks ? BlockAt(i + 1) : 0, Piece(i));
  return image;
}

std::string Pieces(int count) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += Piece(i);
  return text;
}

TEST(MessageText, PreviewStopsAfterTwentyOneBlocks) {
  struct Case {
    int blocks;
    int preview_blocks;
  };
  const Case cases[] = {{1, 1}, {20, 20}, {21, 21}, {22, 21}, {25, 21}};
  for (const auto& c : cases) {
    DbxImage image = LiveChain(c.blocks);
    EXPECT_EQ(LiveText(image, kFirstBlock, false), Pieces(c.preview_blocks)) << c.blocks;
    EXPECT_EQ(LiveText(image, kFirstBlock, true), Pieces(c.blocks)) << c.blocks;
  }
}

TEST(MessageText, BlockPieces) {
  struct Case {
    const char* name;
    std::int32_t length;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"stated length", 5, "Hello, world", "Hello"},
      {"NUL inside the length", 300, std::string(100, 'x') + '\0' + std::string(199, 'y'),
       std::string(100, 'x')},
      {"first byte NUL", 10, std::string("\0abc", 4), ""},
      {"length zero", 0, "abc", ""},
      {"length negative", -4, "abc", ""},
      {"length above 512", 100000, std::string(512, 'z'), std::string(512, 'z')},
  };
  for (const auto& c : cases) {
    DbxImage image(4096);
    image.SetMessageCount(1);
    image.Block(kFirstBlock, c.length, BlockAt(1), c.text);
    image.Block(BlockAt(1), 4, 0, "tail");
    EXPECT_EQ(LiveText(image, kFirstBlock, true), c.expected + "tail") << c.name;
  }
}

TEST(MessageText, ChainEndsAtABlockThatFailsItsSelfOffset) {
  DbxImage image = LiveChain(5);
  image.PutInt32(BlockAt(2), 0);
  EXPECT_EQ(LiveText(image, kFirstBlock, true), Pieces(2));
  EXPECT_EQ(LiveText(image, BlockAt(2), true), "");
  EXPECT_EQ(LiveText(image, BlockAt(0) + 4, true), "");
}

TEST(MessageText, LoopingChainsEndAtABlockAlreadyRead) {
  DbxImage image = LiveChain(3);
  image.PutInt32(BlockAt(2) + 12, BlockAt(0));
  EXPECT_EQ(LiveText(image, kFirstBlock, true), Pieces(3));
  image.PutInt32(BlockAt(0) + 12, BlockAt(0));
  EXPECT_EQ(LiveText(image, kFirstBlock, true), Pieces(1));
}

// Chains in any order through the file, long ones too, end exactly where they meet a block
// already read: the text holds each block once, in chain order.
TEST(MessageText, ChainsInAnyOrderEndAtTheFirstBlockReadAgain) {
  struct Case {
    const char* name;
    int blocks;
    int (*place)(int i, int blocks); // where the chain's i-th block lies
    int loop_to;                     // the chain's step its last block links back to; -1: none
  };
  const auto forward = [](int i, int) { return i; };
  const auto backward = [](int i, int blocks) { return blocks - 1 - i; };
  const auto zigzag = [](int i, int blocks) { return i % 2 ? blocks - 1 - i / 2 : i / 2; };
  // Forward, one step back to the file's first block, then forward beyond the first run.
  const auto one_step_back = [](int i, int) { return i == 100 ? 0 : i + 50; };
  const Case cases[] = {
      {"forward", 200, forward, -1},
      {"backward", 200, backward, -1},
      {"zigzag", 200, zigzag, -1},
      {"forward, back to the start", 200, forward, 0},
      {"forward, back to step 150", 200, forward, 150},
      {"backward, back to step 3", 200, backward, 3},
      {"zigzag, back to step 199", 200, zigzag, 199},
      {"short zigzag, back to step 1", 9, zigzag, 1},
      {"one step back, then back to step 150", 200, one_step_back, 150},
  };
  for (const Case& c : cases) {
    DbxImage image(4096);
    image.SetMessageCount(1);
    std::string expected;
    for (int i = 0; i < c.blocks; ++i) {
      const int place = c.place(i, c.blocks);
      const bool last = i + 1 == c.blocks;
      const std::int32_t next = !last            ? BlockAt(c.place(i + 1, c.blocks))
                                : c.loop_to >= 0 ? BlockAt(c.place(c.loop_to, c.blocks))
                                                 : 0;
      image.Block(BlockAt(place), kBlockTextSize, next, Piece(place));
      expected += Piece(place);
    }
    const std::string text = LiveText(image, BlockAt(c.place(0, c.blocks)), true);
    EXPECT_EQ(text.size(), expected.size()) << c.name;
    EXPECT_EQ(text, expected) << c.name;
  }
}

TEST(MessageText, LiveReaderNeedsAPositiveMessageCountDeletedReaderDoesNot) {
  DbxImage image = LiveChain(2);
  image.SetMessageCount(0);
  EXPECT_EQ(LiveText(image, kFirstBlock, true), "");
  std::string deleted = Pieces(2);
  deleted.replace(0, 4, "____");
  deleted.replace(512, 4, "____");
  image.PutInt32(kFirstBlock + 8, 528);
  image.PutInt32(BlockAt(1) + 8, 528);
  EXPECT_EQ(DeletedText(image, kFirstBlock, true), deleted);
}

TEST(DeletedText, BlockPieces) {
  struct Case {
    const char* name;
    std::int32_t length_field;
    std::string text;
    std::string expected;
  };
  const Case cases[] = {
      {"seven letters, length 23", 23, "ABCDEFGHIJ", "____EFG"},
      {"first four bytes NUL", 20, std::string("\0\0\0\0rest", 8), "____"},
      {"length 16", 16, "ABCDEFGH", ""},
      {"length below 16", 3, "ABCDEFGH", ""},
      {"NUL after the link", 100, std::string("ABCDEF\0GH", 9), "____EF"},
      {"full block", 528, std::string(512, 'q'), "____" + std::string(508, 'q')},
      {"length above a block", 5000, std::string(512, 'q'), "____" + std::string(508, 'q')},
  };
  for (const auto& c : cases) {
    DbxImage image(4096);
    image.Block(kFirstBlock, c.length_field, BlockAt(1), c.text);
    // The next block is still followed whatever this one contributed.
    image.Block(BlockAt(1), 20, 0, "WXYZend");
    EXPECT_EQ(DeletedText(image, kFirstBlock, true), c.expected + "____") << c.name;
  }
}

TEST(DeletedText, PreviewLimitAndLoopsAsForLiveChains) {
  DbxImage image = LiveChain(25);
  for (int i = 0; i < 25; ++i)
    image.PutInt32(BlockAt(i) + 8, 528);
  EXPECT_EQ(DeletedText(image, kFirstBlock, false).size(), 21u * 512);
  EXPECT_EQ(DeletedText(image, kFirstBlock, true).size(), 25u * 512);
  image.PutInt32(BlockAt(24) + 12, BlockAt(3));
  EXPECT_EQ(DeletedText(image, kFirstBlock, true).size(), 25u * 512);
}

TEST(MessageText, StopGivesAnEmptyText) {
  DbxImage image = LiveChain(5);
  {
    ScopedStop stop;
    EXPECT_EQ(LiveText(image, kFirstBlock, true), "");
    EXPECT_EQ(DeletedText(image, kFirstBlock, true), "");
  }
  {
    // Stop during the third block's pump: what was read is dropped.
    CountingPump pump(3);
    EXPECT_EQ(LiveText(image, kFirstBlock, true), "");
    EXPECT_EQ(pump.calls(), 3);
  }
  CountingPump pump;
  EXPECT_EQ(LiveText(image, kFirstBlock, true), Pieces(5));
  EXPECT_EQ(pump.calls(), 5); // one pump before every block
}

TEST(MessageText, BlocksCutByTheEndOfTheFileReadAsZero) {
  DbxImage image = LiveChain(1);
  image.bytes().resize(kFirstBlock + 16 + 100); // the text stops after 100 bytes
  EXPECT_EQ(LiveText(image, kFirstBlock, true), std::string(100, 'A'));
}

} // namespace
} // namespace dbxtest
