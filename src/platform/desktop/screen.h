// The screen: the desktop rectangle.
#pragma once

namespace velcrum::platform {

// A rectangle as Windows gives it: right and bottom are one past the last pixel.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// The desktop window's rectangle: the primary screen's geometry (empty without a screen).
Rect DesktopRect();

}  // namespace velcrum::platform
