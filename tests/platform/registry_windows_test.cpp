// The key class against the real registry (Wine's, in the tests' private prefix).
#include "platform/registry.h"
#include "registry_test_key.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using testenv::ScopedRegistryKey;

constexpr char kKey[] = "Software\\SalvoraExpressTest\\Registry";

TEST(RegistryWindows, CreateWriteAndReadBackThroughANewHandle) {
  ScopedRegistryKey scope("Software\\SalvoraExpressTest");
  {
    platform::RegKey key;
    key.Create(std::string("\\") + kKey); // a leading backslash names the same key
    ASSERT_TRUE(key.Valid());
    key.WriteString("Store Folder", "C:\\Mail\\Store");
    key.WriteString("Empty", "");
  }
  platform::RegKey key;
  ASSERT_TRUE(key.Open("software\\salvoraexpresstest\\REGISTRY")); // names ignore case
  EXPECT_EQ(key.ReadString("store folder"), "C:\\Mail\\Store");
  EXPECT_EQ(key.ReadString("Empty"), "");
  EXPECT_EQ(key.ReadString("Missing"), std::nullopt);
}

TEST(RegistryWindows, OverwritingReplacesTheValue) {
  ScopedRegistryKey scope("Software\\SalvoraExpressTest");
  platform::RegKey key;
  key.Create(kKey);
  key.WriteString("Value", "a much longer first value than the second");
  key.WriteString("Value", "short");
  EXPECT_EQ(key.ReadString("Value"), "short");
}

TEST(RegistryWindows, LongValuesAreReadWhole) {
  ScopedRegistryKey scope("Software\\SalvoraExpressTest");
  const std::string long_value(5000, 'x');
  platform::RegKey key;
  key.Create(kKey);
  key.WriteString("Long", long_value);
  EXPECT_EQ(key.ReadString("Long"), long_value);
}

TEST(RegistryWindows, ExpandableStringsAreReadUnexpandedAndOtherTypesNotAtAll) {
  ScopedRegistryKey scope("Software\\SalvoraExpressTest");
  ASSERT_TRUE(testenv::WriteRegistryValue(HKEY_CURRENT_USER, kKey, "Expandable", REG_EXPAND_SZ,
                                          "%USERPROFILE%\\Mail"));
  HKEY handle = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kKey, 0, KEY_SET_VALUE, &handle), ERROR_SUCCESS);
  const DWORD number = 7;
  ::RegSetValueExA(handle, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
  ::RegCloseKey(handle);

  platform::RegKey key;
  ASSERT_TRUE(key.Open(kKey));
  EXPECT_EQ(key.ReadString("Expandable"), "%USERPROFILE%\\Mail");
  EXPECT_EQ(key.ReadString("Number"), std::nullopt);
}

TEST(RegistryWindows, MissingKeysDoNotOpenAndAreNotCreatedByOpening) {
  ScopedRegistryKey scope("Software\\SalvoraExpressTest");
  platform::RegKey key;
  EXPECT_FALSE(key.Open(kKey));
  EXPECT_FALSE(key.Valid());
  EXPECT_EQ(key.ReadString("Anything"), std::nullopt);
  EXPECT_THROW(key.WriteString("Anything", "x"), std::logic_error);
  EXPECT_FALSE(key.Open(kKey));
}

TEST(RegistryWindows, ClosingAndMovingKeepOneOwner) {
  ScopedRegistryKey scope("Software\\SalvoraExpressTest");
  platform::RegKey key;
  key.Create(kKey);
  key.WriteString("Value", "kept");
  platform::RegKey moved = std::move(key);
  EXPECT_EQ(moved.ReadString("Value"), "kept");
  moved.Close();
  EXPECT_FALSE(moved.Valid());
  EXPECT_EQ(moved.ReadString("Value"), std::nullopt);
}

} // namespace
