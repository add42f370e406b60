#include "path_separator.h"

namespace platform {

const char kPathSeparator = '/';
const bool kLeadingDotHides = true;

} // namespace platform
