#include "window_lookup.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>
#include <xcb/xcb.h>

namespace platform {
namespace {

struct FreeReply {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeReply>;

struct Disconnect {
  void operator()(xcb_connection_t* connection) const { xcb_disconnect(connection); }
};
using Connection = std::unique_ptr<xcb_connection_t, Disconnect>;

// A window manager puts each client window into a frame, sometimes into a frame inside a
// frame; looking this deep below the root finds the titled client windows.
constexpr int kSearchDepth = 3;

class TitleSearch {
public:
  TitleSearch(xcb_connection_t* connection, std::string_view title)
      : connection_(connection), title_(title) {
    net_wm_name_ = InternAtom("_NET_WM_NAME");
  }

  bool Below(xcb_window_t window, int depth) {
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), nullptr));
    if (!tree)
      return false;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    for (int i = 0; i < count; ++i) {
      if (HasTitle(children[i]))
        return true;
    }
    if (depth + 1 < kSearchDepth) {
      for (int i = 0; i < count; ++i) {
        if (Below(children[i], depth + 1))
          return true;
      }
    }
    return false;
  }

private:
  xcb_atom_t InternAtom(const char* name) {
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 1, static_cast<std::uint16_t>(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  }

  bool PropertyEqualsTitle(xcb_window_t window, xcb_atom_t property) {
    if (property == XCB_ATOM_NONE)
      return false;
    // Asks for one byte more than the title, so a longer name cannot pass as equal.
    const auto words = static_cast<std::uint32_t>(title_.size() / 4 + 1);
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection_,
        xcb_get_property(connection_, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, words),
        nullptr));
    if (!reply || reply->format != 8)
      return false;
    const auto length = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
    const std::string_view value(static_cast<const char*>(xcb_get_property_value(reply.get())),
                                 length);
    return value == title_ && reply->bytes_after == 0;
  }

  bool HasTitle(xcb_window_t window) {
    return PropertyEqualsTitle(window, net_wm_name_) ||
           PropertyEqualsTitle(window, XCB_ATOM_WM_NAME);
  }

  xcb_connection_t* connection_;
  std::string_view title_;
  xcb_atom_t net_wm_name_ = XCB_ATOM_NONE;
};

} // namespace

bool TopLevelWindowExists(std::string_view title) {
  const char* display = std::getenv("DISPLAY");
  if (display == nullptr || *display == '\0')
    return false;
  Connection connection(xcb_connect(display, nullptr));
  if (!connection || xcb_connection_has_error(connection.get()))
    return false;
  TitleSearch search(connection.get(), title);
  for (auto screens = xcb_setup_roots_iterator(xcb_get_setup(connection.get())); screens.rem;
       xcb_screen_next(&screens)) {
    if (search.Below(screens.data->root, 0))
      return true;
  }
  return false;
}

} // namespace platform
