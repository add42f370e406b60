// The streaming writer lays a store out byte for byte as StoreBuilder does in memory, so the
// large stores of the benchmarks are the stores the tests check.
#include "store_stream_writer.h"
#include "temp_store.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace dbxtest {
namespace {

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(StoreStreamWriter, WritesTheSameFileAsStoreBuilder) {
  struct Case {
    const char* name;
    std::vector<std::size_t> sizes;
    std::vector<int> deleted; // in the order they are deleted
    int fan_out;
  };
  const Case cases[] = {
      {"empty store", {}, {}, 50},
      {"one message", {100}, {}, 50},
      {"block boundaries", {0, 1, 511, 512, 513, 1024, 1025}, {}, 50},
      {"deleted in any order", {700, 30, 2000, 5, 1500}, {3, 0, 2}, 50},
      {"every message deleted", {10, 20, 30}, {0, 1, 2}, 50},
      {"deep tree", std::vector<std::size_t>(60, 300), {7, 8, 40}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    StoreBuilder builder;
    TempStore file(std::string{});
    StoreStreamWriter writer(file.path());
    for (std::size_t i = 0; i < c.sizes.size(); ++i) {
      std::string text(c.sizes[i], static_cast<char>('a' + i % 26));
      MessageFields fields;
      fields.subject = "message " + std::to_string(i);
      fields.date = 0x01C2E1A2B3C4D5E6 + i;
      EXPECT_EQ(builder.AddMessage(text, fields), writer.AddMessage(text, fields));
    }
    for (int message : c.deleted) {
      builder.DeleteMessage(message);
      writer.DeleteMessage(message);
    }
    std::string expected = builder.Build(c.fan_out).bytes();
    writer.Finish(c.fan_out);
    std::string written = FileBytes(file.path());
    ASSERT_EQ(written.size(), expected.size());
    EXPECT_TRUE(written == expected);
  }
}

} // namespace
} // namespace dbxtest
