#include "pump.h"

namespace platform {
namespace {

void NoPump() {}

MessagePump g_pump = &NoPump;
bool g_stop_requested = false;

} // namespace

void SetMessagePump(MessagePump pump) {
  g_pump = pump ? pump : &NoPump;
}

void PumpMessages() {
  g_pump();
}

bool StopRequested() {
  return g_stop_requested;
}

void SetStopRequested(bool stop) {
  g_stop_requested = stop;
}

} // namespace platform
