// Character sets: text of a message in the character set it names, as UTF-8 for display.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// `bytes` in the character set `charset` (as a message names it: "iso-8859-1", "UTF-8",
// "koi8-r", "ks_c_5601-1987"; letter case and an RFC 2231 language suffix do not matter)
// converted to UTF-8. A byte sequence the character set does not allow becomes U+FFFD.
// Nothing when the system does not know the character set.
std::optional<std::string> ConvertToUtf8(std::string_view charset, std::string_view bytes);

} // namespace platform
