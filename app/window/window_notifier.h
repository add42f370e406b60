// How the engine speaks to the user through the window: message boxes and the pointer.
#pragma once

#include "app/user_notifier.h"

class QWidget;

namespace window {

// The hourglass pointer over the whole application, on or off; repeated calls do not stack.
void ShowWaitPointer(bool waiting);

class WindowNotifier : public app::UserNotifier {
public:
  explicit WindowNotifier(QWidget* owner) : owner_(owner) {}
  void ShowWarning(const std::string& text) override;
  void ShowInformation(const std::string& text) override;
  void SetBusy(bool busy) override { ShowWaitPointer(busy); }

private:
  QWidget* owner_;
};

} // namespace window
