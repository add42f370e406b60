#include "temp_directory.h"

#include <stdexcept>
#include <windows.h>

namespace platform {

// The temporary folder Windows gives each user lies in the user's own profile, which nobody
// else may enter, so the copies go straight into it.
std::string GetTempDirectory() {
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = ::GetTempPathA(sizeof buffer, buffer);
  if (length == 0 || length > MAX_PATH)
    throw std::runtime_error("Cannot create file %TEMP%");
  std::string folder(buffer, length);
  if (folder.back() != '\\')
    folder += '\\';
  // The variable may name a folder that was removed since.
  if (!::CreateDirectoryA(folder.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS)
    throw std::runtime_error("Cannot create file " + folder);
  return folder;
}

} // namespace platform
