// How the engine speaks to the user: the window shows message boxes and the hourglass, the
// command line prints.
#pragma once

#include <ostream>
#include <string>

namespace app {

class UserNotifier {
public:
  virtual ~UserNotifier() = default;

  // A warning box with a single OK button, titled "Warning".
  virtual void ShowWarning(const std::string& text) = 0;

  // An information box with a single OK button, titled "Information".
  virtual void ShowInformation(const std::string& text) = 0;

  // The wait pointer while long work runs, and the default pointer again.
  virtual void SetBusy(bool busy) = 0;
};

// Writes "Warning: <text>" lines to a stream; nothing shows being busy.
class StreamNotifier : public UserNotifier {
public:
  explicit StreamNotifier(std::ostream& out) : out_(out) {}
  void ShowWarning(const std::string& text) override { out_ << "Warning: " << text << '\n'; }
  void ShowInformation(const std::string& text) override { out_ << text << '\n'; }
  void SetBusy(bool) override {}

private:
  std::ostream& out_;
};

// Shows the wait pointer for its lifetime, so the default pointer returns on every way out.
class BusyScope {
public:
  explicit BusyScope(UserNotifier& notifier) : notifier_(notifier) { notifier_.SetBusy(true); }
  ~BusyScope() { notifier_.SetBusy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

private:
  UserNotifier& notifier_;
};

} // namespace app
