// Quoted-printable (RFC 2045) as this program reads and writes it.
#pragma once

#include <string>
#include <string_view>

namespace mime {

// Only upper-case hexadecimal is decoded ("=3d" stays as it is); soft line breaks after "="
// may be CR LF, LF CR, or a lone CR or LF; a trailing "=" is dropped; "_" is left alone.
std::string DecodeQuotedPrintable(std::string_view text);

// Body form: bytes above 127 and "=" become "=XX"; everything else, line breaks included,
// is copied, and a soft break "=\r\n" is inserted once a line reaches 72 columns.
std::string EncodeQuotedPrintable(std::string_view text);

} // namespace mime
