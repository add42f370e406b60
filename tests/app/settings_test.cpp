#include "app/settings.h"
#include "platform/registry.h"
#include "scoped_environment.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using testenv::IsolatedUser;
using testenv::ScopedVariable;

class SettingsTest : public testing::Test {
protected:
  void SetUp() override { std::filesystem::create_directories(program_); }
  IsolatedUser user_;
  std::string program_ = user_ / "program/"; // with the trailing separator
};

TEST_F(SettingsTest, FirstStartGivesDefaultsAndCreatesTheKey) {
  const app::Settings settings = app::LoadSettings(program_);
  EXPECT_EQ(settings.save_path, program_ + "Recovered");
  EXPECT_TRUE(std::filesystem::is_directory(program_ + "Recovered"));
  EXPECT_EQ(settings.file_prefix, "recovered");
  EXPECT_EQ(settings.program_name, "Salvora for Outlook Express");
  EXPECT_EQ(settings.company_name, app::kDefaultCompanyName);
  EXPECT_EQ(settings.web_site_url, app::kDefaultWebSiteUrl);
  EXPECT_EQ(settings.email, app::kDefaultEmail);
  platform::RegKey key;
  EXPECT_TRUE(key.Open("Software\\SalvoraExpress"));
}

TEST_F(SettingsTest, RoundTripThroughTheHive) {
  const std::string chosen = user_ / "mail out";
  std::filesystem::create_directories(chosen);
  app::Settings settings = app::LoadSettings(program_);
  settings.save_path = chosen;
  settings.file_prefix = "kept \"as\" is";
  app::SaveSettings(settings);

  const app::Settings again = app::LoadSettings(program_);
  EXPECT_EQ(again.save_path, chosen);
  EXPECT_EQ(again.file_prefix, "kept \"as\" is");
  platform::RegKey options;
  ASSERT_TRUE(options.Open("Software\\SalvoraExpress\\Options"));
  EXPECT_EQ(options.ReadString("Save Path"), chosen);
}

struct RepairCase {
  const char* what;
  bool stored_folder_exists;
  bool program_writable;
  bool home_writable;
  const char* expected; // "stored", "program", "home" or "program folder"
};

void PrintTo(const RepairCase& c, std::ostream* os) {
  *os << c.what;
}

class SavePathRepair : public SettingsTest, public testing::WithParamInterface<RepairCase> {};

TEST_P(SavePathRepair, FallsBackInOrder) {
  const RepairCase& c = GetParam();
  const std::string stored = user_ / "deleted later";
  std::filesystem::create_directories(stored);
  app::Settings settings;
  settings.save_path = stored;
  app::SaveSettings(settings);
  if (!c.stored_folder_exists)
    std::filesystem::remove(stored);
  const std::string program = c.program_writable ? program_ : testenv::UnwritableFolder();
  ScopedVariable home("HOME", c.home_writable ? user_.home() : testenv::UnwritableFolder());

  const std::string expected = std::string(c.expected) == "stored"    ? stored
                               : std::string(c.expected) == "program" ? program + "Recovered"
                               : std::string(c.expected) == "home"    ? user_.home() + "/Recovered"
                                                                      : program;
  const app::Settings loaded = app::LoadSettings(program);
  EXPECT_EQ(loaded.save_path, expected) << c.what;
  EXPECT_TRUE(std::filesystem::is_directory(loaded.save_path)) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SavePathRepair,
    testing::Values(RepairCase{"stored folder exists", true, false, false, "stored"},
                    RepairCase{"deleted save folder", false, true, true, "program"},
                    RepairCase{"installed program", false, false, true, "home"},
                    RepairCase{"nothing writable", false, false, false, "program folder"}));

TEST_F(SettingsTest, AnExistingRecoveredFolderIsUsedEvenWhereNothingCanBeCreated) {
  std::filesystem::create_directories(program_ + "Recovered");
  ScopedVariable home("HOME", testenv::UnwritableFolder());
  EXPECT_EQ(app::LoadSettings(program_).save_path, program_ + "Recovered");
}

TEST_F(SettingsTest, AFileNamedRecoveredIsNoFolder) {
  testenv::WriteFile(program_ + "Recovered", "not a folder");
  EXPECT_EQ(app::LoadSettings(program_).save_path, user_.home() + "/Recovered");
}

TEST_F(SettingsTest, IniValuesBesideTheProgram) {
  testenv::WriteFile(program_ + "SalvoraExpress.ini",
                     "[Program]\nProgramName=Mail Rescue\nWebSiteURL=example.org/rescue\n"
                     "[Other]\nEmail=not@this.section\n");
  const app::Settings settings = app::LoadSettings(program_);
  EXPECT_EQ(settings.program_name, "Mail Rescue");
  EXPECT_EQ(settings.web_site_url, "example.org/rescue");
  EXPECT_EQ(settings.company_name, app::kDefaultCompanyName);
  EXPECT_EQ(settings.email, app::kDefaultEmail);
}

TEST_F(SettingsTest, UnwritableRegistryLoadsDefaultsButSavingFails) {
  ScopedVariable config("XDG_CONFIG_HOME", testenv::UnwritableFolder() + "salvora");
  app::Settings settings = app::LoadSettings(program_);
  EXPECT_EQ(settings.file_prefix, "recovered");
  EXPECT_EQ(settings.save_path, program_ + "Recovered");
  EXPECT_THROW(app::SaveSettings(settings), std::runtime_error);
}

} // namespace
