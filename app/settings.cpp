#include "settings.h"

#include "platform/file_system.h"
#include "platform/ini_file.h"
#include "platform/known_folders.h"
#include "platform/path_separator.h"
#include "platform/registry.h"
#include "settings_keys.h"

#include <stdexcept>

namespace app {
namespace {

bool HaveFolder(const std::string& path) {
  return platform::DirectoryExists(path) || platform::MakeDirectory(path);
}

std::string RepairedSavePath(const std::string& save_path, const std::string& program_folder) {
  if (!save_path.empty() && platform::DirectoryExists(save_path))
    return save_path;
  if (const std::string beside_program = program_folder + "Recovered"; HaveFolder(beside_program))
    return beside_program;
  if (const std::string in_home =
          platform::GetHomeFolder() + platform::kPathSeparator + "Recovered";
      HaveFolder(in_home))
    return in_home;
  return program_folder;
}

void ReadRegistryValues(Settings& settings) {
  try {
    // The key exists from the first start on, before anything is written.
    platform::RegKey program_key;
    program_key.Create(kProgramKey);
  } catch (const std::runtime_error&) {
    // Settings that cannot be stored are still read, with their defaults.
  }
  platform::RegKey options;
  if (!options.Open(kOptionsKey))
    return;
  settings.save_path = options.ReadString(kSavePathValue).value_or("");
  settings.file_prefix = options.ReadString(kPrefixValue).value_or(kDefaultFilePrefix);
}

void ReadIniValues(Settings& settings, const std::string& program_folder) {
  const platform::IniFile ini = platform::IniFile::Load(program_folder + "SalvoraExpress.ini");
  settings.program_name = ini.ReadString("Program", "ProgramName", kDefaultProgramName);
  settings.company_name = ini.ReadString("Program", "CompanyName", kDefaultCompanyName);
  settings.web_site_url = ini.ReadString("Program", "WebSiteURL", kDefaultWebSiteUrl);
  settings.email = ini.ReadString("Program", "Email", kDefaultEmail);
}

} // namespace

Settings LoadSettings(const std::string& program_folder) {
  Settings settings;
  ReadRegistryValues(settings);
  settings.save_path = RepairedSavePath(settings.save_path, program_folder);
  ReadIniValues(settings, program_folder);
  return settings;
}

void SaveSettings(const Settings& settings) {
  platform::RegKey options;
  options.Create(kOptionsKey);
  options.WriteString(kSavePathValue, settings.save_path);
  options.WriteString(kPrefixValue, settings.file_prefix);
}

std::string HelpFileName(const std::string& program_folder) {
  return program_folder + "SalvoraExpress.chm";
}

} // namespace app
