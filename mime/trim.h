// Blank trimming shared by the header model and the decoders. A blank is the byte 32 only;
// tabs and line breaks are kept.
#pragma once

#include <string>
#include <string_view>

namespace mime {

std::string_view TrimSpaces(std::string_view s);
std::string_view TrimLeftSpaces(std::string_view s);
std::string_view TrimRightSpaces(std::string_view s);

// Drops leading blanks, then keeps the last `width` characters of a longer text, or
// prepends `fill` until the text is at least `width` long.
std::string PadLeft(std::string_view text, std::size_t width, std::string_view fill);

} // namespace mime
