// Which window system the program talks to, and its X connection where that is X11.
#pragma once

#include <cstdlib>
#include <memory>

struct xcb_connection_t;

// A Wayland compositor: it places top-level windows itself, and a window's mask there is only
// the region that takes the pointer.
bool On_Wayland();

// The toolkit's own connection to the X server; null elsewhere than on X11.
xcb_connection_t* X11_Connection();

// A reply of the X server, which the caller frees.
struct Free_Deleter {
  void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using X11_Reply = std::unique_ptr<Reply, Free_Deleter>;
