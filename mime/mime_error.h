// The one exception type of the message parser: it carries the text the user will see,
// such as "UUCODE message format error".
#pragma once

#include <stdexcept>
#include <string>

namespace mime {

class MimeError : public std::runtime_error {
public:
  explicit MimeError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace mime
