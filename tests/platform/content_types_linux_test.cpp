#include "platform/content_types.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(ContentTypeForExtension, SystemTable) {
  if (!std::filesystem::exists("/etc/mime.types"))
    GTEST_SKIP() << "no /etc/mime.types (Debian package media-types)";
  EXPECT_EQ(ContentTypeForExtension(".gif"), "image/gif");
  EXPECT_EQ(ContentTypeForExtension(".GIF"), "image/gif");
  EXPECT_EQ(ContentTypeForExtension(".zip"), "application/zip");
  EXPECT_EQ(ContentTypeForExtension(".no-such-extension"), "");
  EXPECT_EQ(ContentTypeForExtension(""), "");
  EXPECT_EQ(ContentTypeForExtension("gif"), ""); // the dot is part of the extension
}

} // namespace
} // namespace platform
