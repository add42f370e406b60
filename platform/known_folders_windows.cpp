#include "known_folders.h"
#include "module_file_name_windows.h"

#include <shlobj.h>
#include <windows.h>

namespace platform {

std::string GetProgramFolder() {
  const std::string program = ModuleFileName();
  const std::size_t separator = program.find_last_of("\\/");
  if (separator == std::string::npos)
    return ".\\";
  return program.substr(0, separator + 1);
}

std::string GetHomeFolder() {
  char folder[MAX_PATH] = {};
  if (::SHGetFolderPathA(nullptr, CSIDL_PROFILE, nullptr, SHGFP_TYPE_CURRENT, folder) != S_OK)
    return "C:\\";
  return folder;
}

} // namespace platform
