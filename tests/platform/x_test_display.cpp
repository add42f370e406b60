#include "x_test_display.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace testenv {
namespace {

bool XvfbInstalled() {
  const char* path = std::getenv("PATH");
  std::string dirs = path != nullptr ? path : "/usr/bin:/bin";
  for (std::size_t start = 0; start <= dirs.size();) {
    const auto end = dirs.find(':', start);
    const std::string dir = dirs.substr(start, end == std::string::npos ? end : end - start);
    if (!dir.empty() && ::access((dir + "/Xvfb").c_str(), X_OK) == 0)
      return true;
    if (end == std::string::npos)
      break;
    start = end + 1;
  }
  return false;
}

// Starts Xvfb on display `number`; its pid once it accepts clients, or -1.
pid_t StartXvfb(int number) {
  int ready[2];
  if (::pipe(ready) != 0)
    return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    // A test that crashes takes its server with it.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    ::close(ready[0]);
    const int devnull = ::open("/dev/null", O_RDWR);
    ::dup2(devnull, STDOUT_FILENO);
    ::dup2(devnull, STDERR_FILENO);
    const std::string display = ':' + std::to_string(number);
    const std::string fd = std::to_string(ready[1]);
    // -displayfd: the server writes the display number once it accepts clients.
    ::execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-nolisten", "tcp",
             "-screen", "0", "640x480x24", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(ready[1]);
  if (pid < 0) {
    ::close(ready[0]);
    return -1;
  }
  std::string written;
  char c;
  while (::read(ready[0], &c, 1) == 1 && c != '\n')
    written += c;
  ::close(ready[0]);
  if (written != std::to_string(number)) {
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    return -1;
  }
  return pid;
}

} // namespace

std::unique_ptr<XTestDisplay> XTestDisplay::Start() {
  if (!XvfbInstalled())
    return nullptr;
  // Tests run in parallel processes, and a server that is shutting down can still hold a
  // display number that looks free; spreading the numbers by process keeps them apart, and a
  // display that does not take a client is given up for the next.
  for (int attempt = 0; attempt < 16; ++attempt) {
    const int number = 100 + static_cast<int>((::getpid() * 13 + attempt * 101) % 800);
    const pid_t pid = StartXvfb(number);
    if (pid < 0)
      continue;
    std::unique_ptr<XTestDisplay> display(new XTestDisplay(pid, ':' + std::to_string(number)));
    display->connection_ = xcb_connect(display->name_.c_str(), nullptr);
    if (xcb_connection_has_error(display->connection_) == 0)
      return display;
  }
  return nullptr;
}

XTestDisplay::~XTestDisplay() {
  if (connection_ != nullptr)
    xcb_disconnect(connection_);
  ::kill(pid_, SIGTERM);
  ::waitpid(pid_, nullptr, 0);
}

void XTestDisplay::AddWindow(const std::string& title, bool framed) {
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
  xcb_window_t parent = screen->root;
  if (framed) {
    const xcb_window_t frame = xcb_generate_id(connection_);
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, frame, parent, 0, 0, 120, 90, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_map_window(connection_, frame);
    parent = frame;
  }
  const xcb_window_t window = xcb_generate_id(connection_);
  xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, parent, 0, 0, 100, 80, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
  xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                      8, static_cast<std::uint32_t>(title.size()), title.data());
  xcb_map_window(connection_, window);
  // A round trip: once it returns, the server has handled everything sent before it.
  std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
}

} // namespace testenv
