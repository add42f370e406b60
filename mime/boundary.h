// Boundaries for multipart bodies this program makes.
#pragma once

#include <string>

namespace mime {

// "boundary" and 8 upper-case hexadecimal digits from a generator seeded once from the clock.
std::string NewBoundary();

} // namespace mime
