// The services of the operating system that the engine's libraries are given at start-up:
// both programs install the same ones, so they read files, name content types and compute
// message dates alike.
#pragma once

namespace app {

// Store files are opened exclusively, content types come from the system's table, message
// dates are turned into local time by the system's time zone, and a drive that cannot be read
// fails its file call instead of showing a box. Call once, before any work.
void InstallPlatformServices();

} // namespace app
