// The settings' round trip through the real registry.
#include "app/settings.h"
#include "platform/registry.h"
#include "registry_test_key.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class SettingsWindows : public testing::Test {
protected:
  void SetUp() override {
    if (!testenv::RegistryIsPrivate())
      GTEST_SKIP() << "would change this user's settings";
    key_.emplace("Software\\SalvoraExpress");
    std::filesystem::create_directories(program_);
  }
  std::optional<testenv::ScopedRegistryKey> key_;
  testenv::TempFolder folder_;
  std::string program_ = folder_.path() + "\\program\\";
};

TEST_F(SettingsWindows, FirstStartCreatesTheKeyAndTheRecoveredFolder) {
  const app::Settings settings = app::LoadSettings(program_);
  EXPECT_EQ(settings.save_path, program_ + "Recovered");
  EXPECT_TRUE(std::filesystem::is_directory(program_ + "Recovered"));
  EXPECT_EQ(settings.file_prefix, app::kDefaultFilePrefix);
  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\SalvoraExpress", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  ::RegCloseKey(key);
}

TEST_F(SettingsWindows, RoundTripThroughTheRegistry) {
  const std::string chosen = folder_.path() + "\\mail out";
  std::filesystem::create_directories(chosen);
  app::Settings settings = app::LoadSettings(program_);
  settings.save_path = chosen;
  settings.file_prefix = "kept \"as\" is";
  app::SaveSettings(settings);

  const app::Settings again = app::LoadSettings(program_);
  EXPECT_EQ(again.save_path, chosen);
  EXPECT_EQ(again.file_prefix, "kept \"as\" is");

  // Stored where other Windows tools see it, as plain strings.
  char data[MAX_PATH] = {};
  DWORD size = sizeof data;
  DWORD type = 0;
  ASSERT_EQ(::RegGetValueA(HKEY_CURRENT_USER, "Software\\SalvoraExpress\\Options", "Save Path",
                           RRF_RT_ANY, &type, data, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(data), chosen);
}

TEST_F(SettingsWindows, AStoredFolderThatIsGoneFallsBackBesideTheProgram) {
  ASSERT_TRUE(testenv::WriteRegistryValue(HKEY_CURRENT_USER, "Software\\SalvoraExpress\\Options",
                                          "Save Path", REG_SZ, folder_.path() + "\\gone"));
  EXPECT_EQ(app::LoadSettings(program_).save_path, program_ + "Recovered");
}

} // namespace
