#include "input/x11_keyboard.h"

#include "desktop/window_system.h"

#include <QString>
#include <cstdlib>
#include <xcb/xcb.h>
// The XKB header names a field "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

namespace {

bool Ask_For_Detectable_Auto_Repeat(xcb_connection_t* connection) {
  // Both requests go out together, for one wait: a server without the extension answers the
  // second with an error, which the first reply explains.
  const xcb_xkb_use_extension_cookie_t use = xcb_xkb_use_extension(connection, 1, 0);
  const xcb_xkb_per_client_flags_cookie_t cookie = xcb_xkb_per_client_flags(
      connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT,
      XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT, 0, 0, 0);
  const X11_Reply<xcb_xkb_use_extension_reply_t> xkb(
      xcb_xkb_use_extension_reply(connection, use, nullptr));
  xcb_generic_error_t* error = nullptr;
  const X11_Reply<xcb_xkb_per_client_flags_reply_t> reply(
      xcb_xkb_per_client_flags_reply(connection, cookie, &error));
  std::free(error);
  return xkb && xkb->supported && reply &&
         (reply->value & XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT) != 0;
}

} // namespace

X11_Keyboard Set_Up_X11_Keyboard() {
  X11_Keyboard result;
  xcb_connection_t* connection = X11_Connection();
  if (!connection) return result;
  result.On_X11 = true;
  // GRATHMOOR_DETECTABLE_AUTO_REPEAT=0 does without, as on a server that refuses it: the
  // repeats are then told by their timing alone.
  if (qEnvironmentVariable("GRATHMOOR_DETECTABLE_AUTO_REPEAT") != QLatin1String("0"))
    result.Detectable_Auto_Repeat = Ask_For_Detectable_Auto_Repeat(connection);
  return result;
}

std::optional<std::vector<std::uint32_t>> Keys_Down_On_Server() {
  xcb_connection_t* connection = X11_Connection();
  if (!connection) return std::nullopt;
  const X11_Reply<xcb_query_keymap_reply_t> reply(
      xcb_query_keymap_reply(connection, xcb_query_keymap(connection), nullptr));
  if (!reply) return std::nullopt;
  std::vector<std::uint32_t> down;
  for (std::uint32_t keycode = 0; keycode < 256; ++keycode)
    if (reply->keys[keycode / 8] & (1u << (keycode % 8))) down.push_back(keycode);
  return down;
}
