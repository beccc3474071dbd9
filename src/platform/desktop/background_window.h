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
  // The frame the window manager draws: a title bar (without it, no frame at all), and on
  // it the system menu and the minimise and maximise boxes. A shown window stays shown.
  struct Frame {
    bool titleBar = true;
    bool systemMenu = false;
    bool minimiseBox = true;
    bool maximiseBox = true;
  };
  void SetFrame(const Frame& frame);
  void Minimise();
  void Maximise();
  bool IsMinimised() const;
  bool IsMaximised() const;
  bool IsVisible() const;
  // Raised above the other windows and activated; lowered below them without activation.
  void BringToTop();
  void SendToBottom();
  // Activated, with the keyboard focus on the window itself (its key input goes to its
  // procedure), without a change of place in the stacking order.
  void TakeFocus();
  // While locked, a move that this object did not make (the window manager dragging the
  // window by its title bar) is undone: the window goes back where it was put.
  void SetMoveLock(bool locked);
  // A picture (BMP bytes) drawn at the top left corner over the colour; empty removes
  // it. False when the bytes are no image (the picture is then removed).
  bool SetPicture(std::string_view imageBytes);
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
