// Whole folder files as Outlook Express lays them out: every live message comes back from the
// index and every deleted one from the deleted chain.
#include "store_test_util.h"

#include <gtest/gtest.h>
#include <random>

namespace dbxtest {
namespace {

std::string MessageText(int i, std::size_t size) {
  std::string text = "Subject: message " + std::to_string(i) + "\r\n\r\n";
  while (text.size() < size)
    text += "line " + std::to_string(text.size()) + " of message " + std::to_string(i) + "\r\n";
  text.resize(size);
  return text;
}

TEST(StoreBuilder, LiveAndDeletedMessagesComeBackWhole) {
  std::mt19937 random(7);
  StoreBuilder builder;
  std::vector<std::string> texts;
  // Sizes across the block borders, a deep tree (fan-out 3) and deletions in mixed order.
  const std::size_t sizes[] = {1, 3, 4, 5, 511, 512, 513, 1024, 1025, 10240, 10752, 11000, 40000};
  for (int i = 0; i < 60; ++i) {
    texts.push_back(MessageText(i, sizes[random() % std::size(sizes)]));
    builder.AddMessage(texts.back());
  }
  const std::vector<int> deleted_order = {5, 17, 2, 40, 41, 59, 0};
  for (int message : deleted_order)
    builder.DeleteMessage(message);
  DbxImage image = builder.Build(3);
  TempStore store(image);

  std::vector<uoexpress::Toe5_MessageInfo> live;
  uoexpress::ReadMessageInfos(store.path(), live);
  std::vector<int> expected_live;
  for (int i = 0; i < 60; ++i)
    if (std::find(deleted_order.begin(), deleted_order.end(), i) == deleted_order.end())
      expected_live.push_back(i);
  ASSERT_EQ(live.size(), expected_live.size());
  for (std::size_t k = 0; k < live.size(); ++k) {
    int i = expected_live[k];
    EXPECT_EQ(live[k].DataOffset, builder.DataOffset(i));
    EXPECT_EQ(live[k].Attr11, static_cast<std::int32_t>(texts[i].size()));
    std::string text;
    uoexpress::ReadMessageText(store.path(), live[k].DataOffset, text, true);
    EXPECT_EQ(text, texts[i]) << i;
    uoexpress::ReadMessageText(store.path(), live[k].DataOffset, text, false);
    EXPECT_EQ(text, texts[i].substr(0, 21 * 512)) << i;
  }

  // The chain gives the last-deleted message first.
  std::vector<uoexpress::Toe5_MessageInfo> deleted;
  uoexpress::ReadDeletedMessageInfos(store.path(), deleted);
  ASSERT_EQ(deleted.size(), deleted_order.size());
  for (std::size_t k = 0; k < deleted.size(); ++k) {
    int i = deleted_order[deleted_order.size() - 1 - k];
    EXPECT_EQ(deleted[k].DataOffset, builder.DataOffset(i));
    std::string text;
    uoexpress::ReadDeletedMessageText(store.path(), deleted[k].DataOffset, text, true);
    EXPECT_EQ(text, StoreBuilder::DeletedText(texts[i])) << i;
  }
}

} // namespace
} // namespace dbxtest
