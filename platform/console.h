// The command line's view of its console: whether output goes to a person, and Ctrl-C.
#pragma once

namespace platform {

// True when standard error is a terminal, so progress may be drawn on it.
bool StandardErrorIsTerminal();

// From now on Ctrl-C requests a stop (StopRequested) instead of ending the program; a
// second Ctrl-C ends it at once.
void StopOnInterrupt();

// True once Ctrl-C was pressed.
bool Interrupted();

} // namespace platform
