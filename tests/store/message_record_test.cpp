// Decoding message-info records: the attribute table, the value area and where the first
// data block is named.
#include "store_test_util.h"

#include <gtest/gtest.h>

namespace dbxtest {
namespace {

constexpr std::int32_t kRoot = 1000;
constexpr std::int32_t kRecord = 2000;

// A file whose index names one record, laid out by the caller.
DbxImage OneRecordFile() {
  DbxImage image(4096);
  image.SetMessageCount(1);
  image.SetRootNode(kRoot);
  image.Node(kRoot, 0, 0, {{kRecord, 0}});
  return image;
}

std::string Le32(std::uint32_t value) {
  DbxImage bytes;
  bytes.PutUInt32(0, value);
  return bytes.bytes();
}

TEST(MessageRecord, FillsEveryTakenAttribute) {
  DbxImage image = OneRecordFile();
  std::string values = std::string("\x11\x22\x33\x44", 4) + "12345678" + "abcdefgh" +
                       std::string("id\0", 3) + std::string("subj\0", 5);
  // 0x01 at 0, 0x02 at 4, 0x12 at 12, 0x07 at 20, 0x08 at 23; texts share "id" and "subj".
  image.Record(kRecord,
               {{0x80, 7},
                {0x01, 0},
                {0x02, 4},
                {0x12, 12},
                {0x07, 20},
                {0x08, 23},
                {0x09, 23},
                {0x0A, 20},
                {0x0B, 23},
                {0x0D, 20},
                {0x0E, 23},
                {0x13, 20},
                {0x1A, 23},
                {0x1B, 20},
                {0x84, 3000},
                {0x91, 4242},
                {0x33, 9999},
                {0x9F, 1}},
               values);
  auto list = Listing(image);
  ASSERT_EQ(list.size(), 1u);
  const auto& info = list[0];
  EXPECT_EQ(info.InfoOffset, kRecord);
  EXPECT_EQ(info.Attr00, 7);
  EXPECT_EQ(info.Attr01, 0x332211); // three bytes, little-endian
  EXPECT_EQ(info.Attr02, 0x3837363534333231u);
  EXPECT_EQ(info.Attr12, 0x6867666564636261u);
  EXPECT_EQ(info.Attr07, "id");
  EXPECT_EQ(info.Attr08, "subj");
  EXPECT_EQ(info.Attr09, "subj");
  EXPECT_EQ(info.Attr0A, "id");
  EXPECT_EQ(info.Attr0B, "subj");
  EXPECT_EQ(info.Attr0D, "id");
  EXPECT_EQ(info.Attr0E, "subj");
  EXPECT_EQ(info.Attr13, "id");
  EXPECT_EQ(info.Attr1A, "subj");
  EXPECT_EQ(info.Attr1B, "id");
  EXPECT_EQ(info.DataOffset, 3000);
  EXPECT_EQ(info.Attr11, 4242);
}

TEST(MessageRecord, LaterEntryOverwritesEarlierAndDirectFormSharesTheField) {
  DbxImage image = OneRecordFile();
  image.Record(kRecord, {{0x81, 5}, {0x01, 0}, {0x84, 3000}, {0x84, 3100}},
               std::string("\x09\0\0\0", 4));
  auto list = Listing(image);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Attr01, 9);
  EXPECT_EQ(list[0].DataOffset, 3100);
}

TEST(MessageRecord, ValuesBeyondTheValueAreaReadAsZero) {
  DbxImage image = OneRecordFile();
  // Body length covers the table and 6 value bytes; the bytes after it in the file are not
  // part of the value area and must not be read.
  std::string values = "abcdefXYZ";
  image.Record(kRecord, {{0x84, 3000}, {0x08, 2}, {0x01, 4}, {0x02, 3}, {0x0D, 40}}, values,
               4 * 5 + 6);
  auto list = Listing(image);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Attr08, "cdef");
  EXPECT_EQ(list[0].Attr01, 'e' | ('f' << 8));
  EXPECT_EQ(list[0].Attr02,
            std::uint64_t{'d'} | (std::uint64_t{'e'} << 8) | (std::uint64_t{'f'} << 16));
  EXPECT_EQ(list[0].Attr0D, "");
}

TEST(MessageRecord, RejectedRecords) {
  struct Case {
    const char* name;
    int entries;
    bool self_offset_right;
  };
  const Case cases[] = {
      {"no entries", 0, true}, {"51 entries", 51, true}, {"wrong self offset", 1, false}};
  for (const auto& c : cases) {
    DbxImage image = OneRecordFile();
    std::vector<Attribute> attributes(static_cast<std::size_t>(c.entries), Attribute{0x84, 3000});
    image.Record(kRecord, attributes, "");
    if (c.entries == 0)
      image.PutInt32(kRecord + 24, 3000); // a fixed-place offset that would otherwise be taken
    if (!c.self_offset_right)
      image.PutInt32(kRecord, kRecord + 4);
    EXPECT_TRUE(Listing(image).empty()) << c.name;
  }
  DbxImage fifty = OneRecordFile();
  fifty.Record(kRecord, std::vector<Attribute>(50, Attribute{0x84, 3000}), "");
  EXPECT_EQ(Listing(fifty).size(), 1u);
}

TEST(MessageRecord, FixedPlaceNamesTheBlockWhenNoAttributeDoes) {
  struct Case {
    const char* name;
    std::vector<Attribute> attributes;
    std::int32_t fixed_place;
    std::int32_t expected; // 0: not listed
  };
  const Case cases[] = {
      {"no 0x84", {{0x80, 1}}, 3000, 3000},
      {"0x84 with value 0", {{0x84, 0}}, 3200, 3200},
      {"fixed place zero", {{0x80, 1}}, 0, 0},
      {"fixed place negative", {{0x80, 1}}, -5, 0},
  };
  for (const auto& c : cases) {
    DbxImage image = OneRecordFile();
    std::string values = std::string(12, 'v') + Le32(static_cast<std::uint32_t>(c.fixed_place));
    image.Record(kRecord, c.attributes, values);
    auto list = Listing(image);
    if (c.expected == 0) {
      EXPECT_TRUE(list.empty()) << c.name;
    } else {
      ASSERT_EQ(list.size(), 1u) << c.name;
      EXPECT_EQ(list[0].DataOffset, c.expected) << c.name;
    }
  }
}

// A message whose first block lies at 16 MiB or beyond is named by the indirect 0x04; both
// ways Outlook Express lays out such records must find it.
TEST(MessageRecord, IndirectDataOffsetAbove16MiBInBothLayouts) {
  for (auto layout : {RecordLayout::FlagsIndirect, RecordLayout::FlagsDirect}) {
    StoreBuilder builder;
    MessageFields fields;
    fields.subject = "far away";
    fields.sender_address = "someone@example.com";
    builder.SkipTo(17 * 1024 * 1024);
    int message = builder.AddMessage("Subject: far away\r\n\r\nbody\r\n", fields, layout);
    DbxImage image = builder.Build();
    auto list = Listing(image);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].DataOffset, builder.DataOffset(message));
    EXPECT_GT(list[0].DataOffset, 1 << 24);
    EXPECT_EQ(list[0].Attr08, "far away");
    EXPECT_EQ(LiveText(image, list[0].DataOffset, true), "Subject: far away\r\n\r\nbody\r\n");
  }
}

TEST(MessageRecord, IndirectDataOffsetWinsOverTheFixedPlaceAndLaterEntriesWin) {
  DbxImage image = OneRecordFile();
  // Value area: date (8 bytes), the offset, then text whose bytes sit at the fixed place.
  std::string values = std::string(8, '\0') + Le32(3000) + "text that is not an offset";
  image.Record(kRecord, {{0x02, 0}, {0x04, 8}}, values);
  EXPECT_EQ(DataOffsets(Listing(image)), std::vector<std::int32_t>{3000});

  image.Record(kRecord, {{0x04, 8}, {0x84, 3500}}, values);
  EXPECT_EQ(DataOffsets(Listing(image)), std::vector<std::int32_t>{3500});

  // An indirect offset reading as zero leaves the fixed place to decide.
  std::string zero = std::string(8, '\0') + Le32(0) + Le32(3300);
  image.Record(kRecord, {{0x04, 8}}, zero);
  EXPECT_EQ(DataOffsets(Listing(image)), std::vector<std::int32_t>{3300});
}

TEST(MessageRecord, HostileBodyLengthReadsOnlyWhatTheFileHolds) {
  DbxImage image = OneRecordFile();
  image.Record(kRecord, {{0x84, 3000}, {0x08, 0}}, "no end in sight", 0x7FFFFFF0);
  image.bytes().resize(kRecord + 12 + 8 + 15); // the text runs to the end of the file
  auto list = Listing(image);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].Attr08, "no end in sight");
}

} // namespace
} // namespace dbxtest
