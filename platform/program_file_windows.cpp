#include "module_file_name_windows.h"
#include "platform/program_file.h"

namespace platform {

std::string GetProgramFile() {
  return ModuleFileName();
}

} // namespace platform
