// Base64 as found in message bodies and encoded words (RFC 2045), with the lenient
// decoding of damaged text that recovered messages need.
#pragma once

#include <string>
#include <string_view>

namespace mime {

// Every input byte fills the next of four slots; a byte outside the alphabet keeps the value
// its slot last held, so blanks and line breaks never shift the groups. A final incomplete
// group is ignored.
std::string DecodeBase64(std::string_view text);

// Standard base64 in lines of 76 characters (57 source bytes), each ending with CR LF,
// the last one included. An empty source gives an empty result.
std::string EncodeBase64Stream(std::string_view source);

} // namespace mime
