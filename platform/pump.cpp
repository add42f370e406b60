#include "pump.h"

#include <atomic>

namespace platform {
namespace {

void NoPump() {}

MessagePump g_pump = &NoPump;
// Atomic so that a signal handler (Ctrl-C on the command line) may set it.
std::atomic<bool> g_stop_requested{false};
static_assert(std::atomic<bool>::is_always_lock_free);

} // namespace

void SetMessagePump(MessagePump pump) {
  g_pump = pump ? pump : &NoPump;
}

void PumpMessages() {
  g_pump();
}

bool StopRequested() {
  return g_stop_requested.load(std::memory_order_relaxed);
}

void SetStopRequested(bool stop) {
  g_stop_requested.store(stop, std::memory_order_relaxed);
}

} // namespace platform
