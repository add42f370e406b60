// Row texts are the message's bytes; for display they become UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace app {

// The bytes unchanged when they are valid UTF-8, else read as Windows-1252, the code page
// most Outlook Express mail was written in.
std::string DisplayText(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

} // namespace app
