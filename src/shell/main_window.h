// The main window: the full-desktop background window that owns the panels, the timers
// and the pop-up menu, and that NXI and other copies of the program send their messages to.
#pragma once

#include <cstdint>

#include "platform/desktop/message.h"
#include "platform/desktop/window.h"

namespace velcrum {

// Creates the window titled "Velcrum" at 0,0 with the desktop's width and its bottom + 20
// as height, hidden, with VLWndProc as its procedure; sets g_hwndMain. False when the
// desktop has no room for it.
bool CreateMainWindow();
// Destroys it (end of the process, tests).
void DestroyMainWindow();
// The window; null before CreateMainWindow.
platform::Window* MainWindow();

// Moves the window onto the desktop rectangle, shows it and repaints it.
void ShowMainWindowOnDesktop();
// Moves or resizes the window, keeping the other; false before CreateMainWindow.
bool MoveMainWindow(int x, int y);
bool ResizeMainWindow(int width, int height);
// The largest size the window may take (the script's panel-size command sets it).
void SetMainWindowMaximumSize(int width, int height);
// Repaints the background (the background mode changed); mode 3 draws the bitmap resource
// g_szBackgroundBitmap names, from the panel's resources, at the top left corner.
void RepaintMainWindow();

// Where the main window goes when it is arranged (the background command): the desktop
// rectangle that start-up placed it on, with the width and height a script may replace.
struct MainWindowPlacement {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};
MainWindowPlacement& StoredMainWindowPlacement();
bool PlaceMainWindow(int x, int y, int width, int height);

// The window's style as Win32 bits (platform/window_styles.h: WS_CAPTION, WS_SYSMENU,
// WS_MINIMIZEBOX, WS_MAXIMIZEBOX, with WS_VISIBLE, WS_MINIMIZE and WS_MAXIMIZE as the
// window stands); changing the frame bits redraws the frame. The window starts with
// WS_CAPTION, WS_MINIMIZEBOX and WS_MAXIMIZEBOX.
uint32_t MainWindowStyle();
void ChangeMainWindowFrame(uint32_t addedStyles, uint32_t removedStyles);
// The title-bar drag lock: while on, the window cannot be dragged by its title bar. On
// from the moment the window is shown on the desktop.
void SetTitleBarDragLock(bool locked);
bool TitleBarDragLock();

void MinimiseMainWindow();
void MaximiseMainWindow();
// To the top of the z-order, activated; to the bottom, not activated.
void RaiseMainWindow();
void LowerMainWindow();
// SetFocus: the main window takes the keyboard focus, its window activated.
void FocusMainWindow();
// Writes a picture of the window (PNG) to the file VELCRUM_SCREENSHOT names, if it is
// set: headless runs show what the operator would have seen.
void SaveScreenshotIfRequested();

// The window procedure.
platform::Result VLWndProc(const platform::Message& message);

}  // namespace velcrum
