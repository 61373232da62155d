#include "display/window_shape.h"

#include <QGuiApplication>
#include <QWidget>
#include <vector>
#include <xcb/shape.h>
#include <xcb/xcb.h>

namespace {

// The X connection, when the program runs on X11 and the server has the shape extension.
xcb_connection_t* Shape_Connection() {
  const auto* x11 =
      qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
  if (!connection) return nullptr;
  const xcb_query_extension_reply_t* shape = xcb_get_extension_data(connection, &xcb_shape_id);
  return shape && shape->present ? connection : nullptr;
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

} // namespace

void Set_Window_Shape(QWidget& window, const QRegion& device_region, int scale) {
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
  xcb_shape_rectangles(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                       XCB_CLIP_ORDERING_UNSORTED, static_cast<xcb_window_t>(window.winId()), 0, 0,
                       static_cast<uint32_t>(rectangles.size()), rectangles.data());
  xcb_flush(connection);
}

void Clear_Window_Shape(QWidget& window) {
  xcb_connection_t* connection = Shape_Connection();
  if (!connection) {
    window.clearMask();
    return;
  }
  xcb_shape_mask(connection, XCB_SHAPE_SO_SET, XCB_SHAPE_SK_BOUNDING,
                 static_cast<xcb_window_t>(window.winId()), 0, 0, XCB_NONE);
  xcb_flush(connection);
}
