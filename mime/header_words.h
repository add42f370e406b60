// Encoded words in header values (RFC 2047), decoded to their bytes without any character
// set conversion.
#pragma once

#include <string>
#include <string_view>

namespace mime {

// Replaces every "=?charset?X?text?=" by its decoded bytes, X being B, Q or U (anything else
// is read as Q). The first "=?" that never reaches a "?=" ends decoding. Throws MimeError
// for a U word with a character outside the uuencode alphabet.
std::string DecodeHeaderWords(std::string_view value);

} // namespace mime
