// A private X server (Xvfb) for one test, and windows with a given title on it.
#pragma once

#include <memory>
#include <optional>
#include <string>

struct xcb_connection_t;

namespace testenv {

class XTestDisplay {
public:
  // Starts Xvfb on a free display; nullptr when Xvfb is not installed or does not start.
  static std::unique_ptr<XTestDisplay> Start();
  ~XTestDisplay();
  XTestDisplay(const XTestDisplay&) = delete;
  XTestDisplay& operator=(const XTestDisplay&) = delete;

  const std::string& name() const { return name_; } // such as ":5"

  // Creates and maps a window titled `title`; with `framed` it sits inside an untitled
  // parent, as a window manager's frame holds a client. The window lives as long as this
  // display. Returns once the server has processed the requests.
  void AddWindow(const std::string& title, bool framed = false);

private:
  XTestDisplay(int pid, std::string name) : pid_(pid), name_(std::move(name)) {}
  int pid_;
  std::string name_;
  xcb_connection_t* connection_ = nullptr;
};

} // namespace testenv
