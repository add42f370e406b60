// The start-up of the help functions: the program-wide state and the log header.
#include "about/hh.h"
#include "about/hh_funcs.h"
#include "platform/known_folders.h"
#include "platform/program_file.h"
#include "platform/temp_directory.h"
#include "platform/wine_program.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <system_error>

namespace about {
namespace {

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%04X", value & 0xFFFF);
  return text;
}

std::string WithoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  return folder;
}

// The Windows locale id of the user's locale (LC_ALL, LC_MESSAGES or LANG): the languages
// this program's users are most likely to have; 0 for the others.
unsigned UserLocaleId() {
  const char* name = nullptr;
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    name = std::getenv(variable);
    if (name != nullptr && *name != '\0')
      break;
  }
  const std::string locale = name != nullptr ? std::string(name).substr(0, 5) : std::string();
  static constexpr std::pair<const char*, unsigned> kLocales[] = {
      {"en_US", 0x0409}, {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"de_DE", 0x0407},
      {"de_AT", 0x0C07}, {"de_CH", 0x0807}, {"fr_FR", 0x040C}, {"fr_CA", 0x0C0C}, {"fr_BE", 0x080C},
      {"es_ES", 0x0C0A}, {"es_MX", 0x080A}, {"it_IT", 0x0410}, {"nl_NL", 0x0413}, {"nl_BE", 0x0813},
      {"pt_BR", 0x0416}, {"pt_PT", 0x0816}, {"sv_SE", 0x041D}, {"da_DK", 0x0406}, {"nb_NO", 0x0414},
      {"fi_FI", 0x040B}, {"pl_PL", 0x0415}, {"cs_CZ", 0x0405}, {"ru_RU", 0x0419}, {"ja_JP", 0x0411},
      {"zh_CN", 0x0804}, {"zh_TW", 0x0404}, {"ko_KR", 0x0412},
  };
  for (const auto& [prefix, id] : kLocales)
    if (locale == prefix)
      return id;
  return 0;
}

std::string DecimalSeparator() {
  const std::lconv* conventions = std::localeconv();
  return conventions != nullptr && conventions->decimal_point != nullptr
             ? conventions->decimal_point
             : ".";
}

// The user's own temporary folder; the home folder when there is none.
std::string UserTempFolder() {
  try {
    return WithoutTrailingSeparator(platform::GetTempDirectory());
  } catch (const std::runtime_error&) {
    return platform::GetHomeFolder();
  }
}

std::optional<THHFuncs>& ProgramFuncs() {
  static std::optional<THHFuncs> funcs;
  return funcs;
}

} // namespace

HelpState ComputeHelpState(const std::string& exe_path, const std::vector<std::string>& arguments,
                           const std::string& viewer_path, const std::string& system_folder) {
  HelpState s;
  const std::filesystem::path exe(exe_path);
  s.exe_path = exe_path;
  s.module_name = exe.filename().string();
  s.module_dir = WithoutTrailingSeparator(exe.parent_path().string());
  s.run_dir = s.module_dir;
  s.help_log_dir = DirWritable(s.module_dir) ? s.module_dir : UserTempFolder();
  std::error_code error;
  s.help_debug = std::filesystem::exists(s.module_dir + "/debug.debug", error) ||
                 DebugParameterGiven(arguments);

  s.hh_ver_str = FileVersionOf(viewer_path);
  s.hh_installed = !s.hh_ver_str.empty();
  s.hh_friendly_ver_str = HHFriendlyVersion(s.hh_ver_str);

  const std::string shdocvw = platform::FindFileIgnoringCase(system_folder, "Shdocvw.dll");
  s.ie_ver_str = CorrectedIEVersion(FileVersionOf(shdocvw));
  s.ie_installed = !s.ie_ver_str.empty();
  s.ie_friendly_ver_str = IEFriendlyVersion(s.ie_ver_str);
  return s;
}

std::vector<std::string> LogHeaderLines(const HelpState& s, const std::string& log_path,
                                        const std::string& now_text) {
  const unsigned lcid = UserLocaleId();
  const auto yes_no = [](bool value) { return std::string(value ? "YES" : "NO"); };
  return {
      "!Filename:             \t" + log_path,
      "!Date:                 \t" + now_text,
      "!SysLocale.DefaultLCID: \t" + Hex4(lcid),
      "!SysLocale.PriLangID:   \t" + Hex4(lcid & 0x3FF),
      "!SysLocale.SubLangID:   \t" + Hex4(lcid >> 10),
      "!DecimalSeparator:      \t" + DecimalSeparator(),
      "-",
      "!EXE Path =          \t" + s.exe_path,
      "!_RunDir =           \t" + s.run_dir,
      "!_ModuleName =       \t" + s.module_name,
      "!_ModuleDir =        \t" + s.module_dir,
      "-",
      "!_hhInstalled =      \t" + yes_no(s.hh_installed),
      "!_hhVerStr =         \t" + s.hh_ver_str,
      "!_hhFriendlyVerStr = \t" + s.hh_friendly_ver_str,
      "-",
      "!_ieInstalled =      \t" + yes_no(s.ie_installed),
      "!_ieVerStr =         \t" + s.ie_ver_str,
      "!_ieFriendlyVerStr = \t" + s.ie_friendly_ver_str,
      "=",
  };
}

void InitHelpFuncs(const std::vector<std::string>& arguments) {
  HelpState state = ComputeHelpState(platform::GetProgramFile(), arguments, HtmlHelpControlPath(),
                                     platform::WineSystemFolder());
  THelpLog log(state.help_log_dir, state.help_debug, CurrentTimeText);
  ProgramFuncs().emplace(std::move(state), SystemHelpServices(), std::move(log));
  ProgramFuncs()->StartLog(CurrentDateTimeText());
}

THHFuncs& HelpFuncs() {
  // Help asked for before the start-up ran: the start-up without command-line parameters.
  if (!ProgramFuncs())
    InitHelpFuncs({});
  return *ProgramFuncs();
}

} // namespace about
