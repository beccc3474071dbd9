// The desktop rectangle from Qt's primary screen.
#include "platform/desktop/screen.h"

#include <QGuiApplication>
#include <QScreen>

namespace velcrum::platform {

Rect DesktopRect() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return {};
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QRect geometry = screen->geometry();
  return Rect{geometry.left(), geometry.top(), geometry.left() + geometry.width(),
              geometry.top() + geometry.height()};
}

}  // namespace velcrum::platform
