// SPDX-License-Identifier: MIT
// The deep scan on sources where folder files stand anywhere: behind other bytes, without their
// head, with their clusters moved, among noise in an image, as deleted files of a FAT file
// system. Every message whose blocks all stand whole in the source comes back once, byte for
// byte; no text comes back twice; every text given back is a piece of a message that was
// written and begins at one of its blocks; and chains of the two folder files of an image never
// name the same file start.
#include "damaged_sources.h"
#include "dbx_writer.h"
#include "store/uoexpress.h"
#include "temp_store.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <optional>
#include <set>
#include <string_view>

namespace dbxtest {
namespace {

const GeneratedStore& Inbox() {
  static const GeneratedStore store = GenerateStore(1, 300, "inbox");
  return store;
}

const GeneratedStore& Sent() {
  static const GeneratedStore store = GenerateStore(2, 200, "sent");
  return store;
}

const char* const kStoreNames[] = {"inbox", "sent"};

std::vector<const GeneratedStore*> StoresOf(const DamageCase& damage) {
  if (HoldsTwoFiles(damage.damage))
    return {&Inbox(), &Sent()};
  return {&Inbox()};
}

const DamagedSource& SourceOf(const DamageCase& damage) {
  static std::map<std::string, DamagedSource> made;
  auto it = made.find(damage.name);
  if (it == made.end())
    it = made.emplace(damage.name, MakeDamaged(damage, Inbox().bytes, Sent().bytes)).first;
  return it->second;
}

std::string Label(std::size_t store, std::size_t message) {
  return std::string(kStoreNames[store]) + "." + std::to_string(message);
}

std::string Shown(std::string_view text) {
  std::string shown(text.substr(0, 60));
  for (char& c : shown)
    if (static_cast<unsigned char>(c) < 32 || static_cast<unsigned char>(c) > 126)
      c = '.';
  return "\"" + shown + "\"";
}

// Failures of one kind, reported as one count with a few examples: a scan that misses
// hundreds of messages should not print hundreds of lines.
class Problems {
public:
  explicit Problems(std::string what) : what_(std::move(what)) {}
  void Add(const std::string& example) {
    if (count_++ < 5)
      examples_ += "\n  " + example;
  }
  ~Problems() {
    if (count_ > 0)
      ADD_FAILURE() << count_ << " " << what_ << ", e.g." << examples_;
  }

private:
  std::string what_;
  std::string examples_;
  int count_ = 0;
};

// The messages of the stores a source was made from, to look texts up in.
class Truth {
public:
  explicit Truth(const std::vector<const GeneratedStore*>& stores) : stores_(stores) {
    for (const GeneratedStore* store : stores) {
      std::string all;
      for (const GeneratedMessage& message : store->messages)
        all += message.text + kSeparator;
      haystacks_.push_back(std::move(all));
    }
  }

  // The stores holding `text` as a contiguous piece of one message's text, as bits.
  unsigned StoresHolding(std::string_view text) const {
    if (text.empty() || text.find(kSeparator) != std::string_view::npos)
      return 0;
    unsigned holders = 0;
    const std::boyer_moore_horspool_searcher searcher(text.begin(), text.end());
    for (std::size_t s = 0; s < haystacks_.size(); ++s)
      if (std::search(haystacks_[s].begin(), haystacks_[s].end(), searcher) != haystacks_[s].end())
        holders |= 1u << s;
    return holders;
  }

  bool BeginsAMessage(std::string_view text) const {
    for (const GeneratedStore* store : stores_)
      for (const GeneratedMessage& message : store->messages)
        if (std::string_view(message.text).starts_with(text))
          return true;
    return false;
  }

private:
  // No message text holds it: the generated texts are printable lines.
  static constexpr char kSeparator = '\x01';
  std::vector<const GeneratedStore*> stores_;
  std::vector<std::string> haystacks_;
};

struct Row {
  uoexpress::Toe5_FoundMessage found;
  std::string text;
};

// Where a row's text stops being a piece of a message, and where its chain changed pieces.
std::string Diverging(const Truth& truth, const Row& row) {
  std::size_t good = 0, bad = row.text.size();
  while (good + 1 < bad) {
    const std::size_t middle = (good + bad) / 2;
    (truth.StoresHolding(std::string_view(row.text).substr(0, middle)) ? good : bad) = middle;
  }
  std::string told = ", a piece for " + std::to_string(good) + " of " +
                     std::to_string(row.text.size()) + " bytes, " +
                     std::to_string(row.found.BlockCount) + " blocks, jumps at";
  for (const auto& jump : row.found.Jumps)
    told += " " + std::to_string(jump.Block) + "->" + std::to_string(jump.Position);
  return told;
}

std::vector<Row> DeepScan(const std::string& source) {
  TempStore file(source);
  if (const char* keep = std::getenv("SALVORA_KEEP_SOURCE"))
    std::ofstream(keep, std::ios::binary)
        .write(source.data(), static_cast<std::streamsize>(source.size()));
  std::vector<uoexpress::Toe5_FoundMessage> found;
  uoexpress::ReadFoundMessageInfos(file.path(), {}, found);
  std::vector<Row> rows;
  for (const auto& message : found) {
    rows.push_back({message, {}});
    uoexpress::ReadFoundMessageText(file.path(), message, rows.back().text, true);
  }
  return rows;
}

// The stores themselves: what the index and the deleted chain give back of the undamaged
// file is what was written, so the expected texts the deep scan is judged by are right.
TEST(DamagedSourceTruth, UndamagedStoresReadBackAsWritten) {
  std::set<std::string_view> texts;
  std::size_t messages = 0;
  for (const GeneratedStore* store : {&Inbox(), &Sent()}) {
    TempStore file(store->bytes);
    std::vector<uoexpress::Toe5_MessageInfo> live, deleted;
    uoexpress::ReadMessageInfos(file.path(), live);
    uoexpress::ReadDeletedMessageInfos(file.path(), deleted);
    std::set<std::int64_t> listed_live, listed_deleted, expected_live, expected_deleted;
    for (const auto& info : live)
      listed_live.insert(info.DataOffset);
    for (const auto& info : deleted)
      listed_deleted.insert(info.DataOffset);

    std::set<std::size_t> chain_lengths;
    for (const GeneratedMessage& message : store->messages) {
      SCOPED_TRACE(Shown(message.written));
      ASSERT_FALSE(message.blocks.empty());
      (message.deleted ? expected_deleted : expected_live).insert(message.blocks.front());
      EXPECT_EQ(message.text,
                message.deleted ? StoreBuilder::DeletedText(message.written) : message.written);
      EXPECT_EQ(message.blocks.size(),
                (message.written.size() + kBlockTextSize - 1) / kBlockTextSize);
      for (std::int64_t block : message.blocks) {
        std::int32_t self = 0;
        std::memcpy(&self, store->bytes.data() + block, 4);
        EXPECT_EQ(self, block);
      }
      chain_lengths.insert(message.blocks.size());
      texts.insert(message.text);
      ++messages;
    }
    EXPECT_EQ(listed_live, expected_live);
    EXPECT_EQ(listed_deleted, expected_deleted);
    EXPECT_FALSE(expected_deleted.empty());
    EXPECT_EQ(*chain_lengths.begin(), 1u);
    EXPECT_EQ(*chain_lengths.rbegin(), 40u);
  }
  EXPECT_EQ(texts.size(), messages) << "a text stands in two messages";
}

class DamagedSourceClass : public testing::TestWithParam<DamageCase> {
protected:
  void SetUp() override {
    if (GetParam().damage == Damage::FatImageOfTwo && !FatToolsAvailable())
      GTEST_SKIP() << "mkfs.vfat and mtools are needed (Debian: dosfstools mtools)";
  }
};

// Each source is damaged as its class says, so what the deep scan is judged on is there.
TEST_P(DamagedSourceClass, SourceIsDamagedAsDescribed) {
  const DamageCase& damage = GetParam();
  const DamagedSource& source = SourceOf(damage);
  const std::vector<const GeneratedStore*> stores = StoresOf(damage);
  std::size_t messages = 0, surviving = 0;
  for (std::size_t s = 0; s < stores.size(); ++s) {
    int runs = 0;
    for (const Placement& run : source.placements)
      runs += run.file == static_cast<int>(s);
    for (const GeneratedMessage& message : stores[s]->messages) {
      ++messages;
      surviving += source.Survives(static_cast<int>(s), message);
    }
    if (damage.damage == Damage::ClustersShuffled || damage.damage == Damage::FatImageOfTwo)
      EXPECT_GT(runs, 10) << kStoreNames[s] << " is not broken up";
    else
      EXPECT_EQ(runs, 1) << kStoreNames[s];
  }
  RecordProperty("surviving", static_cast<int>(surviving));
  RecordProperty("messages", static_cast<int>(messages));
  switch (damage.damage) {
  case Damage::Intact:
  case Damage::NoiseBefore:
  case Damage::ImageOfTwo:
    EXPECT_EQ(surviving, messages);
    break;
  default:
    EXPECT_GT(surviving, messages / 10);
    EXPECT_LT(surviving, messages);
  }
  if (HoldsTwoFiles(damage.damage)) {
    // Where each run puts its file's start: no run of one file shares it with a run of the
    // other, so a scan can keep the two apart.
    std::set<std::int64_t> starts[2];
    for (const Placement& run : source.placements)
      starts[run.file].insert(run.position - run.file_offset);
    for (std::int64_t start : starts[0])
      EXPECT_EQ(starts[1].count(start), 0u) << start;
  }
}

TEST_P(DamagedSourceClass, DeepScanGivesBackWhatSurvives) {
  const DamageCase& damage = GetParam();
  const DamagedSource& source = SourceOf(damage);
  const std::vector<const GeneratedStore*> stores = StoresOf(damage);
  const Truth truth(stores);
  const std::vector<Row> rows = DeepScan(source.bytes);

  std::map<std::string_view, int> given_back;
  for (const Row& row : rows)
    ++given_back[row.text];
  {
    Problems twice("texts given back more than once");
    for (const auto& [text, count] : given_back)
      if (count > 1)
        twice.Add(std::to_string(count) + " times: " + Shown(text));
  }

  std::vector<std::set<std::int64_t>> blocks(stores.size());
  std::map<std::string_view, int> expected;
  int surviving = 0, recovered = 0, whole = 0, messages = 0;
  std::string per_store;
  {
    Problems lost("surviving messages not given back exactly once");
    for (std::size_t s = 0; s < stores.size(); ++s) {
      int store_surviving = 0, store_recovered = 0;
      for (std::size_t m = 0; m < stores[s]->messages.size(); ++m) {
        const GeneratedMessage& message = stores[s]->messages[m];
        blocks[s].insert(message.blocks.begin(), message.blocks.end());
        ++expected[message.text];
        ++messages;
        whole += given_back.count(message.text) > 0;
        if (!source.Survives(static_cast<int>(s), message))
          continue;
        ++store_surviving;
        auto found = given_back.find(message.text);
        const int count = found == given_back.end() ? 0 : found->second;
        if (count == 1)
          ++store_recovered;
        else
          lost.Add(Label(s, m) + " (" + std::to_string(message.blocks.size()) + " blocks" +
                   (message.deleted ? ", deleted" : "") + "): given back " + std::to_string(count) +
                   " times");
      }
      surviving += store_surviving;
      recovered += store_recovered;
      per_store += std::string(" ") + kStoreNames[s] + " " + std::to_string(store_recovered) + "/" +
                   std::to_string(store_surviving);
    }
  }
  for (const auto& [text, count] : expected)
    EXPECT_EQ(count, 1) << "two messages were written with " << Shown(text);

  // Where each file stands in one piece, every chain of it names that piece's start; where it
  // was broken up, chains of one file may name a start shared by several of its pieces.
  const bool one_piece_each = source.placements.size() == stores.size();
  int fragments = 0;
  std::map<std::int64_t, unsigned> stores_by_start;
  {
    Problems invented("texts that are no piece of any message");
    Problems unbegun("texts not marked as fragments that begin no message");
    Problems misplaced("rows whose first block is no block of a folder file in the source");
    Problems wrong_start("rows whose FileStart is not where their first block's file starts");
    for (const Row& row : rows) {
      const auto& found = row.found;
      const std::string where = "at " + std::to_string(found.DataOffset) + ": ";
      fragments += found.Fragment;
      const unsigned holders = truth.StoresHolding(row.text);
      if (holders == 0)
        invented.Add(where + Shown(row.text) + Diverging(truth, row));
      else if (!found.Fragment && !truth.BeginsAMessage(row.text))
        unbegun.Add(where + Shown(row.text));
      if (holders == 1u || holders == 2u)
        stores_by_start[found.FileStart] |= holders;

      // The first block's head stands in a run of a folder file, where that file has a block.
      const std::optional<Placement> run = source.RunAt(found.DataOffset, 16);
      const std::int64_t offset =
          run ? run->file_offset + (found.DataOffset - run->position) : std::int64_t{-1};
      if (!run || blocks[static_cast<std::size_t>(run->file)].count(offset) == 0)
        misplaced.Add(where + Shown(row.text));
      else if (one_piece_each && found.FileStart != found.DataOffset - offset)
        wrong_start.Add(where + "FileStart " + std::to_string(found.FileStart) + ", expected " +
                        std::to_string(found.DataOffset - offset));
    }
  }
  {
    Problems mixed("FileStart values shared by rows of both folder files");
    for (const auto& [start, holders] : stores_by_start)
      if (holders == 3u)
        mixed.Add("FileStart " + std::to_string(start));
  }

  RecordProperty("whole", whole);
  RecordProperty("surviving", surviving);
  RecordProperty("recovered", recovered);
  RecordProperty("rows", static_cast<int>(rows.size()));
  RecordProperty("fragments", fragments);
  RecordProperty("file_starts", static_cast<int>(stores_by_start.size()));
  std::cout << "[ DAMAGED  ] " << damage.name << ": " << recovered << " of " << surviving
            << " surviving messages given back whole (" << per_store.substr(1) << "); " << whole
            << " of all " << messages << " whole, also from blocks split between runs; "
            << rows.size() << " rows, " << fragments << " fragments, " << stores_by_start.size()
            << " file starts\n";
}

INSTANTIATE_TEST_SUITE_P(DamagedSource, DamagedSourceClass, testing::ValuesIn(DamageCases()),
                         [](const testing::TestParamInfo<DamageCase>& info) {
                           return std::string(info.param.name);
                         });

} // namespace
} // namespace dbxtest
