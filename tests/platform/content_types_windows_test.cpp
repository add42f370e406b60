// Content types come from the extension keys of HKEY_CLASSES_ROOT.
#include "platform/content_types.h"
#include "registry_test_key.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

constexpr char kExtension[] = ".salvoratest";

class ContentTypesWindows : public testing::Test {
protected:
  void SetUp() override {
    // Writing file types for everyone needs an administrator, which the tests are only in their
    // own Wine prefix.
    if (!testenv::RegistryIsPrivate())
      GTEST_SKIP() << "would register a file type on this system";
    key_.emplace(kExtension, HKEY_CLASSES_ROOT);
  }
  std::optional<testenv::ScopedRegistryKey> key_;
};

TEST_F(ContentTypesWindows, RegisteredExtensionGivesItsContentType) {
  ASSERT_TRUE(testenv::WriteRegistryValue(HKEY_CLASSES_ROOT, kExtension, "Content Type", REG_SZ,
                                          "application/x-salvora-test"));
  EXPECT_EQ(platform::ContentTypeForExtension(".salvoratest"), "application/x-salvora-test");
  EXPECT_EQ(platform::ContentTypeForExtension(".SalvoraTest"), "application/x-salvora-test");
}

TEST_F(ContentTypesWindows, UnregisteredOrMalformedExtensionsGiveNothing) {
  // A key without the value, as for a file type that names only its program.
  ASSERT_TRUE(testenv::WriteRegistryValue(HKEY_CLASSES_ROOT, kExtension, "", REG_SZ,
                                          "salvoratest_auto_file"));
  EXPECT_EQ(platform::ContentTypeForExtension(".salvoratest"), "");
  EXPECT_EQ(platform::ContentTypeForExtension(".no-such-extension"), "");
  EXPECT_EQ(platform::ContentTypeForExtension(""), "");
}

} // namespace
