// SHA-256 of a byte string, as lower-case hex; used by the dump diagnostic.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string Sha256Hex(std::string_view data);

} // namespace platform
