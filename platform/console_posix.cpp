#include "console.h"
#include "pump.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace platform {
namespace {

std::atomic<bool> g_interrupted{false};

extern "C" void OnInterrupt(int) {
  if (g_interrupted.exchange(true)) {
    std::signal(SIGINT, SIG_DFL);
    std::raise(SIGINT);
    return;
  }
  SetStopRequested(true); // an atomic store: safe in a signal handler
}

} // namespace

bool StandardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

void StopOnInterrupt() {
  struct sigaction action {};
  action.sa_handler = &OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGINT, &action, nullptr);
}

bool Interrupted() {
  return g_interrupted.load();
}

} // namespace platform
