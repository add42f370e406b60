// Where the hives live on a system without a registry of its own: the program's writable
// hive under the user's configuration folder, and the Wine prefix whose user hive is read as
// an underlay, so that an Outlook Express used under Wine is found without configuration.
#pragma once

#include "wine_hive.h"

#include <string>

namespace platform {

// $WINEPREFIX, or ~/.wine; without a trailing separator.
std::string WinePrefixFolder();

// The prefix's hive of the current user: <prefix>/user.reg.
std::string WineUserHivePath();

// $XDG_CONFIG_HOME/SalvoraExpress/user.reg, with ~/.config standing in for an unset or
// relative XDG_CONFIG_HOME.
std::string WritableHivePath();

// A missing or unreadable file reads as an empty hive.
WineHive LoadHiveFile(const std::string& path);

// Writes through a temporary file in the same folder, flushed and then renamed over the
// hive, so a crash leaves either the old or the new hive. Creates the folder (mode 0700)
// when missing. Throws std::runtime_error("Cannot create file <path>") on failure.
void SaveHiveFile(const std::string& path, const WineHive& hive);

} // namespace platform
