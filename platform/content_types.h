// The system's table of content types by file extension: on Linux /etc/mime.types, on Windows
// the "Content Type" values of the extension keys of HKEY_CLASSES_ROOT.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

namespace platform {

// Keys are lower-case extensions with their dot (".gif"), values content types.
using ContentTypeTable = std::unordered_map<std::string, std::string>;

// The content type registered for an extension with its dot, matched without regard to
// ASCII case; empty when none is. /etc/mime.types is read once, on the first call.
std::string ContentTypeForExtension(std::string_view extension);

// Reads a table in the mime.types format: "type ext ext ..." lines, "#" comments. An
// extension listed under several types keeps the first.
ContentTypeTable ParseMimeTypes(std::string_view text);

} // namespace platform
