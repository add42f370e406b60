// Text of a message in the character set it names, as UTF-8, for the message view.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace window {

// Qt's decoder when Qt knows the character set (its own and ICU's), else the platform's
// converter; nothing when neither knows it. `charset` is the name as the message gives it
// ("iso-8859-1", "koi8-r", "utf-8*en" with an RFC 2231 language); bytes the set does not
// allow become U+FFFD.
std::optional<std::string> DecodeCharset(std::string_view charset, std::string_view bytes);

} // namespace window
