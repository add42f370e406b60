#include "platform/content_types.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(ParseMimeTypes, Table) {
  const ContentTypeTable table = ParseMimeTypes("# comment image/fake fake\n"
                                                "image/gif\t\t\tgif\n"
                                                "text/plain  txt TEXT  # trailing comment\r\n"
                                                "application/x-none\n"
                                                "text/other txt\n"
                                                "   \n"
                                                "image/jpeg jpeg jpg jpe");
  EXPECT_EQ(table.size(), 6u);
  EXPECT_EQ(table.at(".gif"), "image/gif");
  EXPECT_EQ(table.at(".txt"), "text/plain"); // the first type listing an extension wins
  EXPECT_EQ(table.at(".text"), "text/plain");
  EXPECT_EQ(table.at(".jpe"), "image/jpeg");
  EXPECT_EQ(table.count(".fake"), 0u);
}

} // namespace
} // namespace platform
