// The program-wide message pump of the window: long work calls it between units of work so
// the window stays live. It lets Qt process pending events at most every few milliseconds,
// so a reader calling it for every 528-byte block is not slowed down.
#pragma once

namespace window {

void InstallQtMessagePump();

} // namespace window
