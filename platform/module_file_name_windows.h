// The running executable's full path, for the Windows sources that need it.
#pragma once

#include <string>
#include <windows.h>

namespace platform {

// "" when the system cannot tell.
inline std::string ModuleFileName() {
  std::string name(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameA(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0)
      return {};
    // A full buffer means the name was cut short.
    if (length < name.size()) {
      name.resize(length);
      return name;
    }
    name.resize(name.size() * 2);
  }
}

} // namespace platform
