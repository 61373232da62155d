#include "desktop/window_system.h"

#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

bool On_Wayland() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

xcb_connection_t* X11_Connection() {
  const auto* x11 =
      qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->connection() : nullptr;
}
