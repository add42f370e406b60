// Expansion of environment references of the form %NAME% in registry values.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Replaces every %NAME% whose variable is known by its value; names compare without regard
// to letter case, and an unknown name, an empty one or a lone % stays as written.
//
// Without Windows, names the process environment lacks (%USERPROFILE%, %APPDATA%, ...) take
// the values Wine keeps for the prefix's user, so a value read from a Wine hive expands to
// the Windows path Wine would give it (see native_path.h for turning it into a local path).
std::string ExpandEnvironmentReferences(std::string_view text);

} // namespace platform
