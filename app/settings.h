// The user's settings: two values kept in the registry per user, and the program's name and
// its maker's contact points read from "SalvoraExpress.ini" beside the program.
#pragma once

#include <string>

namespace app {

inline constexpr char kDefaultProgramName[] = "Salvora for Outlook Express";
inline constexpr char kDefaultCompanyName[] = "Salvora Software";
inline constexpr char kDefaultWebSiteUrl[] = "www.salvora.example";
inline constexpr char kDefaultEmail[] = "support@salvora.example";
inline constexpr char kDefaultFilePrefix[] = "recovered";

struct Settings {
  std::string save_path; // destination folder of the save run
  std::string file_prefix = kDefaultFilePrefix;
  std::string program_name = kDefaultProgramName;
  std::string company_name = kDefaultCompanyName;
  std::string web_site_url = kDefaultWebSiteUrl; // no scheme: host and optional path
  std::string email = kDefaultEmail;
};

// Reads the settings; `program_folder` ends with a separator. Creates the program's registry
// key at the first start. A save path that is empty or names no folder is replaced by the
// program folder's "Recovered" folder, created when missing; when it cannot be created (an
// installed program's folder is not writable), by "Recovered" in the home folder, likewise;
// failing both, by the program folder itself. Missing values, files and sections give the
// defaults, and a registry that cannot be written is no error here.
Settings LoadSettings(const std::string& program_folder);

// Stores the save path and the prefix. Throws std::runtime_error("Cannot create file <hive>")
// when the registry cannot be written.
void SaveSettings(const Settings& settings);

// The help file beside the program.
std::string HelpFileName(const std::string& program_folder);

} // namespace app
