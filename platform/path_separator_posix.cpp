#include "path_separator.h"

namespace platform {

const char kPathSeparator = '/';

} // namespace platform
