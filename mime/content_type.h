// Content types of attachment file names, looked up in the platform's extension table.
#pragma once

#include <string>
#include <string_view>

namespace mime {

// The extension with its dot: the text from the last "." after the last "\" or ":".
std::string_view FileExtension(std::string_view file_name);

// The registered type of the name's extension, or "application/octet-stream".
std::string ContentTypeOfFile(std::string_view file_name);

// The table behind ContentTypeOfFile: given an extension such as ".gif", the registered
// type or an empty string. The program installs the platform's table at start; by default
// nothing is registered. nullptr restores the default.
using ContentTypeLookup = std::string (*)(std::string_view extension);
void SetContentTypeLookup(ContentTypeLookup lookup);

} // namespace mime
