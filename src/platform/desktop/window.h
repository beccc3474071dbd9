// A window: a handle on the desktop, a procedure that answers its messages, its timers.
//
// A top-level window is registered on the desktop with its title: other processes find it
// by title, enumerate it and reach it with broadcasts. A message-only window has a handle
// that any process may send or post to, but is never found or enumerated. A window may
// stand for a Qt widget (the owner keeps the widget): its keyboard and mouse input and
// close requests then arrive as window messages (WM_KEYDOWN, WM_CHAR, WM_LBUTTONDOWN,
// WM_RBUTTONDOWN, WM_CLOSE, ...), and its title is the widget's title.
//
// Windows live on the thread that runs the message loop and need an open desktop
// (desktop.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/desktop/message.h"

class QWidget;

namespace velcrum::platform {

// The window procedure: answers one message. message.hwnd is the window.
using WindowProc = std::function<Result(const Message& message)>;

struct WindowState;

class Window {
 public:
  enum class Kind { kTopLevel, kMessageOnly };

  // Creates a window and registers it on the desktop; nullptr when no desktop is open or
  // it has no free handle left.
  static std::unique_ptr<Window> Create(Kind kind, std::string_view title = {},
                                        QWidget* widget = nullptr);
  // Unregisters the window and stops its timers; messages still queued for it are dropped.
  ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  Hwnd Handle() const;
  Kind GetKind() const;
  QWidget* Widget() const;

  // Installs the procedure. Without one, every message is answered 0 and a close request
  // closes the widget as Qt would.
  void SetProc(WindowProc proc);

  // The title others see (FindWindow, enumeration); also the widget's title.
  bool SetTitle(std::string_view title);
  std::string Title() const;

  // Starts timer `id` of this window: WM_TIMER (wParam id, lParam 0) every intervalMs
  // milliseconds (at least 1), generated only while no posted message waits and never
  // queued twice, so ticks that cannot be delivered in time are lost. Setting a running
  // timer again restarts it with the new interval.
  bool SetTimer(uint32_t id, uint32_t intervalMs);
  // Stops a timer; a tick it had pending is not delivered. False when it was not running.
  bool KillTimer(uint32_t id);

 private:
  explicit Window(std::shared_ptr<WindowState> state);
  std::shared_ptr<WindowState> state_;
};

}  // namespace velcrum::platform
