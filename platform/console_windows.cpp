#include "console.h"
#include "pump.h"

#include <atomic>
#include <windows.h>

namespace platform {
namespace {

std::atomic<bool> g_interrupted{false};

// Runs on a thread of its own that the system starts; the flags are atomic.
BOOL WINAPI OnControlEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
    return FALSE;
  // A second Ctrl-C goes on to the default handler, which ends the program.
  if (g_interrupted.exchange(true))
    return FALSE;
  SetStopRequested(true);
  return TRUE;
}

} // namespace

bool StandardErrorIsTerminal() {
  // Only a console has a console mode; pipes and files do not.
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

void StopOnInterrupt() {
  ::SetConsoleCtrlHandler(&OnControlEvent, TRUE);
}

bool Interrupted() {
  return g_interrupted.load();
}

} // namespace platform
