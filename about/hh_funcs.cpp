#include "about/hh_funcs.h"

#include "about/version_info.h"
#include "about/version_locator.h"
#include "about/version_resource.h"
#include "platform/installed_package.h"
#include "text/ascii.h"
#include "text/trim.h"
#include "text/version_number.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <system_error>
#include <utility>

namespace about {
namespace {

using Version = std::array<std::uint32_t, 4>;

// Every `from`, left to right, replaced by `to`. Built anew rather than replaced in place,
// which GCC 12 at -O3 takes for an overlapping copy.
std::string Replace(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty())
    return std::string(text);
  std::string out;
  for (std::size_t at = text.find(from); at != std::string_view::npos; at = text.find(from)) {
    out.append(text.substr(0, at)).append(to);
    text.remove_prefix(at + from.size());
  }
  return out.append(text);
}

// The four numbers of a version resource's version; nothing for any other text.
std::optional<Version> ParseVersion(const std::string& version) {
  const auto numbers = text::ParseVersionNumbers(version);
  if (!numbers || numbers->size() != 4)
    return std::nullopt;
  return Version{(*numbers)[0], (*numbers)[1], (*numbers)[2], (*numbers)[3]};
}

std::string WithoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/')
    folder.pop_back();
  return folder;
}

} // namespace

std::string MakeHelpPath(std::string file, std::string topic, std::string window,
                         std::string_view prefix) {
  file = std::string(text::TrimSpaces(Replace(file, "%20", " ")));
  topic = std::string(text::TrimSpaces(Replace(topic, "%20", " ")));
  window = std::string(text::TrimSpaces(Replace(window, "%20", " ")));
  std::string path;
  if (!topic.empty()) {
    topic = Replace(topic, "\\", "/");
    if (topic.front() != '/')
      topic = "/" + topic;
    path = file.empty() ? topic : file + "::" + topic;
  } else {
    path = file;
  }
  if (!window.empty())
    path += ">" + window;
  return std::string(prefix) + path;
}

std::string CommandName(unsigned command) {
  const char* name = "??";
  switch (command) {
  case 1:
    name = "HELP_CONTEXT";
    break;
  case 2:
    name = "HELP_QUIT";
    break;
  case 3:
    name = "HELP_INDEX or HELP_CONTENTS";
    break;
  case 4:
    name = "HELP_HELPONHELP";
    break;
  case 5:
    name = "HELP_SETINDEX or HELP_SETCONTENTS";
    break;
  case 8:
    name = "HELP_CONTEXTPOPUP";
    break;
  case 9:
    name = "HELP_FORCEFILE";
    break;
  case 10:
    name = "HELP_CONTEXTMENU";
    break;
  case 11:
    name = "HELP_FINDER";
    break;
  case 12:
    name = "HELP_WM_HELP";
    break;
  case 13:
    name = "HELP_SETPOPUP_POS";
    break;
  case 257:
    name = "HELP_KEY";
    break;
  case 258:
    name = "HELP_COMMAND";
    break;
  case 261:
    name = "HELP_PARTIALKEY";
    break;
  case 513:
    name = "HELP_MULTIKEY";
    break;
  case 515:
    name = "HELP_SETWINPOS";
    break;
  }
  return std::to_string(command) + " (" + name + ")";
}

std::string HHErrorText(int code) {
  switch (code) {
  case 1:
    return "MS Html Help is not installed on this PC.";
  case 2:
    return "System file KeyHH.EXE was not found in the Windows folder.";
  case 3:
    return "System file HH.EXE was not found in the Windows folder.";
  default:
    return "Unknown error returned by HHHelpContext";
  }
}

std::string ShellErrorText(unsigned long code) {
  const char* text = "General Failure";
  switch (code) {
  case 2:
    text = "File Not Found";
    break;
  case 3:
    text = "Path Not Found";
    break;
  case 5:
    text = "Access Denied";
    break;
  case 8:
    text = "Insufficient Memory";
    break;
  case 19:
    text = "Media Is Write Protected";
    break;
  case 21:
    text = "Device Not Ready";
    break;
  case 32:
  case 33:
    text = "File In Use";
    break;
  case 39:
  case 112:
    text = "Disk Full";
    break;
  case 276:
  case 1005:
  case 1392:
  case 1393:
    text = "Corrupt File Or Disk";
    break;
  case 1009:
  case 1358:
    text = "Corrupt Registry";
    break;
  case 1150:
    text = "Windows Version Incorrect";
    break;
  case 1151:
    text = "Not A Windows Or MSDos Program";
    break;
  }
  return "[Error:" + std::to_string(code) + "] " + text;
}

std::string HHFriendlyVersion(const std::string& version) {
  if (version.empty())
    return {};
  const std::optional<Version> v = ParseVersion(version);
  if (!v)
    return "< 1.0";
  constexpr Version k131{4, 74, 8793, 0};
  if (*v > k131)
    return "> 1.31";
  if (*v == k131)
    return "1.31";
  static constexpr std::pair<Version, const char*> kFrom[] = {
      {{4, 74, 8702, 0}, "1.3"},  {{4, 73, 8561, 0}, "1.22"}, {{4, 73, 8474, 0}, "1.21a"},
      {{4, 73, 8412, 0}, "1.21"}, {{4, 73, 8252, 0}, "1.2"},  {{4, 72, 8164, 0}, "1.1b"},
      {{4, 72, 7325, 0}, "1.1a"}, {{4, 72, 7323, 0}, "1.1"},  {{4, 72, 7290, 0}, "1.0"},
  };
  for (const auto& [from, name] : kFrom)
    if (*v >= from)
      return name;
  return "< 1.0";
}

std::string IEFriendlyVersion(const std::string& version) {
  if (version.empty())
    return {};
  const std::optional<Version> v = ParseVersion(version);
  if (!v)
    return "< Internet Explorer 1.0 (Plus!)";
  constexpr Version kPreview{5, 50, 3825, 1300};
  if (*v > kPreview)
    return "> Internet Explorer 5.5 Developer Preview";
  if (*v == kPreview)
    return "Internet Explorer 5.5 Developer Preview";
  static constexpr std::pair<Version, const char*> kFrom[] = {
      {{5, 0, 2919, 6307}, "Internet Explorer 5.01"},
      {{5, 0, 2919, 3800}, "Internet Explorer 5.01 (Windows 2000 RC2, build 5.00.2128)"},
      {{5, 0, 2919, 800}, "Internet Explorer 5.01 (Windows 2000 RC1, build 5.00.2072)"},
      {{5, 0, 2721, 1400}, "Internet Explorer 5.0 updated"},
      {{5, 0, 2614, 0}, "Internet Explorer 5.0b"},
      {{5, 0, 2314, 0}, "Internet Explorer 5.0a"},
      {{5, 0, 2014, 0}, "Internet Explorer 5.0"},
      {{5, 0, 910, 0}, "Internet Explorer 5 Beta (Beta 2)"},
      {{5, 0, 518, 0}, "Internet Explorer 5 Developer Preview (Beta 1)"},
      {{4, 72, 3612, 0}, "Internet Explorer 4.01 Service Pack 2 (SP2)"},
      {{4, 72, 3110, 0}, "Internet Explorer 4.01 Service Pack 1 (SP1)"},
      {{4, 72, 2106, 0}, "Internet Explorer 4.01"},
      {{4, 71, 1712, 0}, "Internet Explorer 4.0"},
      {{4, 71, 1008, 0}, "Internet Explorer 4.0 Platform Preview 2.0 (PP2)"},
      {{4, 71, 544, 0}, "Internet Explorer 4.0 Platform Preview 1.0 (PP1)"},
      {{4, 70, 1300, 0}, "Internet Explorer 3.02"},
      {{4, 70, 1215, 0}, "Internet Explorer 3.01"},
      {{4, 70, 1158, 0}, "Internet Explorer 3.0 (OSR2)"},
      {{4, 70, 1155, 0}, "Internet Explorer 3.0"},
      {{4, 40, 520, 0}, "Internet Explorer 2.0"},
      {{4, 40, 308, 0}, "Internet Explorer 1.0 (Plus!)"},
  };
  for (const auto& [from, name] : kFrom)
    if (*v >= from)
      return name;
  return "< Internet Explorer 1.0 (Plus!)";
}

std::string CorrectedIEVersion(const std::string& version) {
  const std::optional<Version> v = ParseVersion(version);
  if (!v || (*v)[0] != 4 || (*v)[1] > 70 || (*v)[2] != 0)
    return version;
  char text[64];
  std::snprintf(text, sizeof text, "%u.%u.%u.0", static_cast<unsigned>((*v)[0]),
                static_cast<unsigned>((*v)[1]), static_cast<unsigned>((*v)[3]));
  return text;
}

bool DirWritable(const std::string& folder) {
  const std::string probe = WithoutTrailingSeparator(folder) + "/$_Temp_$.$$$";
  std::FILE* file = std::fopen(probe.c_str(), "w");
  if (file == nullptr)
    return false;
  std::fclose(file);
  std::remove(probe.c_str());
  return true;
}

bool DebugParameterGiven(const std::vector<std::string>& arguments) {
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string lowered = text::LowerAscii(arguments[i]);
    if (lowered == "/debug" || lowered == "-debug")
      return true;
  }
  return false;
}

std::string FileVersionOf(const std::string& file) {
  if (file.empty())
    return {};
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error))
    return {};
  if (const auto block = ReadVersionBlock(file)) {
    const auto fixed = QueryFixedFileInfo(*block);
    return fixed ? FourPartVersion(fixed->file_version_ms, fixed->file_version_ls) : std::string();
  }
  return platform::FourNumberVersion(platform::OwningPackageVersion(file));
}

} // namespace about
