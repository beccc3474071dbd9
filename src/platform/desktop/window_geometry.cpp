// MoveWindow through the desktop session's own windows.
#include "platform/desktop/window_geometry.h"

#include <QWidget>

#include "platform/desktop/desktop_session.h"

namespace velcrum::platform {

bool MoveLocalWindow(Hwnd hwnd, int x, int y, int width, int height) {
  DesktopSession* session = DesktopSession::Current();
  QWidget* widget = session ? session->LocalWidget(hwnd) : nullptr;
  if (!widget) return false;
  widget->setGeometry(x, y, width, height);
  return true;
}

}  // namespace velcrum::platform
