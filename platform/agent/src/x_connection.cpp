#include "x_connection.h"

#include <xcb/xcb.h>

#include <QGuiApplication>

namespace agent {

xcb_connection_t* XConnection() {
  if (!qGuiApp || QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

}  // namespace agent
