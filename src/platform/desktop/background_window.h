// A background window: a top-level window whose only drawing is one colour over its whole
// area, sized and placed by its owner. The runtime's main window is one.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/desktop/window.h"

namespace velcrum::platform {

struct Colour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

class BackgroundWindow {
 public:
  // Creates the window, hidden, and registers it on the desktop with its title; nullptr
  // when the desktop has no room for it. `fill` is asked for the colour at each painting.
  using FillColour = Colour (*)();
  static std::unique_ptr<BackgroundWindow> Create(std::string_view title, FillColour fill);
  ~BackgroundWindow();
  BackgroundWindow(const BackgroundWindow&) = delete;
  BackgroundWindow& operator=(const BackgroundWindow&) = delete;

  // The window's handle, title, procedure and timers.
  Window& GetWindow();

  // The largest size the window may take, and its place and size.
  void SetMaximumSize(int width, int height);
  void SetGeometry(int left, int top, int width, int height);
  // Moves the window without resizing it, or resizes it without moving it.
  void Move(int left, int top);
  void Resize(int width, int height);
  // Shows the window and paints it.
  void Show();
  // Paints the window again (its colour changed).
  void Repaint();
  // Writes a PNG picture of the window to the host file `path`; false when it cannot.
  bool SavePicture(const std::string& path);

 private:
  struct Parts;
  explicit BackgroundWindow(std::unique_ptr<Parts> parts);
  std::unique_ptr<Parts> parts_;
};

}  // namespace velcrum::platform
