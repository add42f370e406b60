// The program-wide message pump and stop flag.
//
// There is one thread. Long work (copying, scanning, the reader's block loops, the parser's
// line walk) calls PumpMessages() between units of work so the window stays live, then tests
// StopRequested(). The application installs the real pump; until it does, pumping costs one
// indirect call to a function that does nothing.
#pragma once

namespace platform {

using MessagePump = void (*)();

// Installs the pump; nullptr restores the one that does nothing.
void SetMessagePump(MessagePump pump);

// Lets the user interface process what is pending. Cheap enough to call for every block.
void PumpMessages();

bool StopRequested();
void SetStopRequested(bool stop);

} // namespace platform
