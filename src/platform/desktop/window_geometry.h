// MoveWindow on a window of this process that stands for a widget.
#pragma once

#include "platform/desktop/message.h"

namespace velcrum::platform {

// Places the window's widget at x, y of its parent's client area (of the screen for a
// top-level widget) with that size. False when the handle is no window of this process
// with a widget.
bool MoveLocalWindow(Hwnd hwnd, int x, int y, int width, int height);

}  // namespace velcrum::platform
