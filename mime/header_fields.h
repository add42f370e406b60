// The header section of a message text as a reader sees it: fields unfolded but otherwise
// as written (the header model in header_lines.h normalises them for the scan).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace mime {

// True when the text begins with a header field: a name of printable characters without
// blanks, then a colon (blanks before it allowed). A fragment of a message's body does not.
bool StartsWithHeaderField(std::string_view text);

// Where the body of a text with CR LF line ends starts: after the first empty line, or at
// the end when the header section never ends.
std::size_t BodyStart(std::string_view text);

// The value of the first field `label` (ASCII letter case ignored) in `header_section`:
// folded lines joined (CR LF before a blank or tab removed), blanks around it trimmed.
// Nothing when there is no such field.
std::optional<std::string> HeaderField(std::string_view header_section, std::string_view label);

} // namespace mime
