#include "path_separator.h"

namespace platform {

const char kPathSeparator = '\\';
const bool kLeadingDotHides = false;

} // namespace platform
