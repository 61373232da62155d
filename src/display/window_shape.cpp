#include "display/window_shape.h"

#include "desktop/window_system.h"

#include <QWidget>
#include <string>
#include <vector>
#include <xcb/shape.h>
#include <xcb/xcb.h>

namespace {

// The X connection, when the program runs on X11 and the server has the shape extension.
xcb_connection_t* Shape_Connection() {
  xcb_connection_t* connection = X11_Connection();
  if (!connection) return nullptr;
  const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection, &xcb_shape_id);
  return shape && shape->present ? connection : nullptr;
}

// A compositing manager owns the selection _NET_WM_CM_S<n> of the screen it composites.
bool X11_Compositing_Manager_Runs(xcb_connection_t* connection) {
  const int screens = xcb_setup_roots_length(xcb_get_setup(connection));
  for (int screen = 0; screen < screens; ++screen) {
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
    const X11_Reply<xcb_intern_atom_reply_t> atom(xcb_intern_atom_reply(
        connection,
        xcb_intern_atom(connection, 1, static_cast<uint16_t>(name.size()), name.c_str()), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE) continue;
    const X11_Reply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atom->atom), nullptr));
    if (owner && owner->owner != XCB_NONE) return true;
  }
  return false;
}

QRegion Logical_Region(const QRegion& device, int scale) {
  if (scale <= 1) return device;
  QRegion logical;
  for (const QRect& r : device) {
    const int left = r.left() / scale, top = r.top() / scale;
    const int right = (r.right() + scale) / scale, bottom = (r.bottom() + scale) / scale;
    logical += QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
  }
  return logical;
}

// The window's outline (bounding) or the part of it that takes the pointer (input). On X11 it
// goes to the server in device pixels; elsewhere (Wayland, where the mask is only the input
// region) the toolkit's mask stands in, brought to logical pixels.
void Set_Shape(xcb_shape_kind_t kind, QWidget& window, const QRegion& device_region, int scale) {
  xcb_connection_t* connection = Shape_Connection();
  if (!connection) {
    window.setMask(Logical_Region(device_region, scale));
    return;
  }
  std::vector<xcb_rectangle_t> rectangles;
  rectangles.reserve(static_cast<std::size_t>(device_region.rectCount()));
  for (const QRect& r : device_region)
    rectangles.push_back({static_cast<int16_t>(r.x()), static_cast<int16_t>(r.y()),
                          static_cast<uint16_t>(r.width()), static_cast<uint16_t>(r.height())});
  xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, kind, XCB_CLIP_ORDERING_UNSORTED,
                       static_cast<xcb_window_t>(window.winId()), 0, 0,
                       static_cast<uint32_t>(rectangles.size()), rectangles.data());
  xcb_flush(connection);
}

} // namespace

bool Window_System_Composites() {
  if (On_Wayland()) return true;
  xcb_connection_t* connection = X11_Connection();
  return connection && X11_Compositing_Manager_Runs(connection);
}

void Set_Window_Shape(QWidget& window, const QRegion& device_region, int scale) {
  Set_Shape(XCB_SHAPE_SK_BOUNDING, window, device_region, scale);
}

void Set_Input_Region(QWidget& window, const QRegion& device_region, int scale) {
  Set_Shape(XCB_SHAPE_SK_INPUT, window, device_region, scale);
}

void Clear_Window_Shape(QWidget& window) {
  xcb_connection_t* connection = Shape_Connection();
  if (!connection) {
    window.clearMask();
    return;
  }
  for (xcb_shape_kind_t kind : {XCB_SHAPE_SK_BOUNDING, XCB_SHAPE_SK_INPUT})
    xcb_shape_mask(connection, XCB_SHAPE_SO_SET, kind, static_cast<xcb_window_t>(window.winId()), 0,
                   0, XCB_NONE);
  xcb_flush(connection);
}
