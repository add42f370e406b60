// The running program's own file.
#pragma once

#include <string>

namespace platform {

// The full path of the running executable; "" when the system cannot tell.
std::string GetProgramFile();

} // namespace platform
