#include "native_path.h"

namespace platform {

// Windows opens the paths Windows programs record as they are.
std::string ToNativePath(std::string_view path) {
  return std::string(path);
}

} // namespace platform
