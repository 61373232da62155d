#include "input/x11_keyboard.h"

#include "input/keyboard_layout.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <xcb/xcb.h>
// The XKB header names a field "explicit", which C++ reserves.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>

namespace {

// Reloads the server's keymap when it changes. The toolkit already selects the XKB events that
// announce a new keymap on this connection, and every event passes the native filters first.
class Keymap_Follower : public QAbstractNativeEventFilter {
public:
  Keymap_Follower(xcb_connection_t* connection, std::uint8_t first_xkb_event, std::int32_t device)
      : Connection(connection), First_Xkb_Event(first_xkb_event), Device(device) {}

  ~Keymap_Follower() override { xkb_context_unref(Context); }
  Keymap_Follower(const Keymap_Follower&) = delete;
  Keymap_Follower& operator=(const Keymap_Follower&) = delete;

  bool Load() {
    if (!Context) return false;
    auto layout = Keyboard_Layout::Adopt(
        xkb_x11_keymap_new_from_device(Context, Connection, Device, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!layout) return false; // keep reading with the layout we have
    Keyboard_Layout::Set_Current(std::move(layout));
    return true;
  }

  bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
    if (type != QByteArrayLiteral("xcb_generic_event_t")) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != First_Xkb_Event) return false;
    // Every XKB event begins alike: its kind in the second byte, the device after the time.
    const auto* xkb = reinterpret_cast<const xcb_xkb_new_keyboard_notify_event_t*>(event);
    if ((xkb->xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkb->xkbType == XCB_XKB_MAP_NOTIFY) &&
        xkb->deviceID == Device)
      Load();
    return false; // the toolkit follows the keymap too
  }

private:
  xcb_connection_t* Connection;
  xkb_context* Context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  std::uint8_t First_Xkb_Event;
  std::int32_t Device;
};

bool Ask_For_Detectable_Auto_Repeat(xcb_connection_t* connection) {
  const xcb_xkb_per_client_flags_cookie_t cookie = xcb_xkb_per_client_flags(
      connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT,
      XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT, 0, 0, 0);
  xcb_xkb_per_client_flags_reply_t* reply =
      xcb_xkb_per_client_flags_reply(connection, cookie, nullptr);
  const bool granted =
      reply && (reply->value & XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT) != 0;
  std::free(reply);
  return granted;
}

} // namespace

X11_Keyboard Set_Up_X11_Keyboard() {
  X11_Keyboard result;
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return result;
  result.On_X11 = true;

  std::uint8_t first_xkb_event = 0;
  if (!xkb_x11_setup_xkb_extension(
          connection, XKB_X11_MIN_MAJOR_XKB_VERSION, XKB_X11_MIN_MINOR_XKB_VERSION,
          XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr, &first_xkb_event, nullptr))
    return result; // no XKB: repeats are caught by their timing, codes read with the defaults
  // GRATHMOOR_DETECTABLE_AUTO_REPEAT=0 does without, as on a server that refuses it: the
  // repeats are then told by their timing alone.
  if (qEnvironmentVariable("GRATHMOOR_DETECTABLE_AUTO_REPEAT") != QLatin1String("0"))
    result.Detectable_Auto_Repeat = Ask_For_Detectable_Auto_Repeat(connection);

  const std::int32_t device = xkb_x11_get_core_keyboard_device_id(connection);
  if (device < 0) return result;
  // Lives as long as the application, which owns the filter list.
  static Keymap_Follower follower(connection, first_xkb_event, device);
  result.Server_Layout = follower.Load();
  qGuiApp->installNativeEventFilter(&follower);
  return result;
}
