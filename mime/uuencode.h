// Decoding of traditional uuencoded lines: a count character, then 4 characters per 3 bytes.
#pragma once

#include <string>
#include <string_view>

namespace mime {

// The 6-bit value of one uuencode character: "`" and blank are 0, "!" to "_" are 1 to 63.
// Anything else throws MimeError("UUCODE message format error").
int UUCharValue(char c);

// The bytes of one line. A line holds at most 60 data characters (45 bytes); a count of 45
// needs all 60 of them. Longer lines and larger counts are cut to what fits.
std::string UUDecodeLine(std::string_view line);

// All bytes of a text of uuencoded lines separated by CR LF.
std::string UUDecodeToStream(std::string_view text);

} // namespace mime
