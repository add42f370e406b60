// Whether a program's top-level window is open, to tell the user which program to close.
#pragma once

#include <string_view>

namespace platform {

// True when a top-level window of any class has exactly this title. On X the title is the
// window's _NET_WM_NAME or WM_NAME, looked up on the top-level windows and on the client
// windows a window manager has framed; with no display to ask there is no window.
bool TopLevelWindowExists(std::string_view title);

} // namespace platform
