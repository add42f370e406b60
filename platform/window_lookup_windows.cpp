#include "window_lookup.h"

#include <string>
#include <windows.h>

namespace platform {

bool TopLevelWindowExists(std::string_view title) {
  const std::string text(title);
  return ::FindWindowA(nullptr, text.c_str()) != nullptr;
}

} // namespace platform
