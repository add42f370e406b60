// A notifier that remembers what the user would have been shown.
#pragma once

#include "app/user_notifier.h"

#include <string>
#include <vector>

namespace testenv {

class RecordingNotifier : public app::UserNotifier {
public:
  void ShowWarning(const std::string& text) override {
    warnings.push_back(text);
    busy_when_warned.push_back(busy);
  }
  void ShowInformation(const std::string& text) override { information.push_back(text); }
  void SetBusy(bool value) override {
    busy = value;
    ++busy_changes;
  }

  std::vector<std::string> warnings;
  std::vector<std::string> information;
  std::vector<bool> busy_when_warned;
  bool busy = false;
  int busy_changes = 0;
};

} // namespace testenv
