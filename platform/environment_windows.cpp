#include "environment.h"

#include <cstring>
#include <windows.h>

namespace platform {

std::string ExpandEnvironmentReferences(std::string_view text) {
  const std::string source(text);
  std::string expanded(source.size() + 256, '\0');
  for (;;) {
    // The size asked for counts the terminating zero.
    const DWORD needed = ::ExpandEnvironmentStringsA(source.c_str(), expanded.data(),
                                                     static_cast<DWORD>(expanded.size()));
    if (needed == 0)
      return source;
    if (needed <= expanded.size()) {
      // The count may run past the text in code pages of two-byte characters.
      expanded.resize(std::strlen(expanded.c_str()));
      return expanded;
    }
    expanded.resize(needed);
  }
}

} // namespace platform
