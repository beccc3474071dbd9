// The main window: the full-desktop background window that owns the panels, the timers
// and the pop-up menu, and that NXI and other copies of the program send their messages to.
#pragma once

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
// Repaints the background (the background mode changed).
void RepaintMainWindow();
// Writes a picture of the window (PNG) to the file VELCRUM_SCREENSHOT names, if it is
// set: headless runs show what the operator would have seen.
void SaveScreenshotIfRequested();

// The window procedure.
platform::Result VLWndProc(const platform::Message& message);

}  // namespace velcrum
