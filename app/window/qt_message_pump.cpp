#include "qt_message_pump.h"

#include "platform/pump.h"

#include <QCoreApplication>
#include <chrono>

namespace window {
namespace {

constexpr auto kInterval = std::chrono::milliseconds(8);

void PumpQtEvents() {
  static std::chrono::steady_clock::time_point last;
  auto now = std::chrono::steady_clock::now();
  if (now - last < kInterval)
    return;
  last = now;
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace

void InstallQtMessagePump() {
  platform::SetMessagePump(&PumpQtEvents);
}

} // namespace window
