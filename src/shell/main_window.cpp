// The main window: a background window painted by the background mode and sized to the
// desktop.
#include "shell/main_window.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/desktop/background_window.h"
#include "platform/desktop/debug_output.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/screen.h"
#include "platform/mci.h"
#include "platform/window_styles.h"
#include "runtime/bound_resources.h"
#include "runtime/process_state.h"

namespace velcrum {
namespace {

using namespace platform;  // the WS_ style bits

// Painting by mode: 2 black, every other mode light grey (mode 3 draws its bitmap over
// the grey).
platform::Colour BackgroundColour() {
  return g_iBackgroundMode == 2 ? platform::Colour{0, 0, 0} : platform::Colour{192, 192, 192};
}

// Windows limited the window to 32000 by 32000 until initialisation knew the desktop.
constexpr int kMaximumSizeBeforeStart = 32000;

std::unique_ptr<platform::BackgroundWindow> g_window;
MainWindowPlacement g_placement;
constexpr uint32_t kFrameStyles = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
uint32_t g_frameStyles = WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
bool g_bTitleBarDragLock = false;

void ApplyFrame() {
  if (!g_window) return;
  g_window->SetFrame({.titleBar = (g_frameStyles & WS_CAPTION) != 0,
                      .systemMenu = (g_frameStyles & WS_SYSMENU) != 0,
                      .minimiseBox = (g_frameStyles & WS_MINIMIZEBOX) != 0,
                      .maximiseBox = (g_frameStyles & WS_MAXIMIZEBOX) != 0});
}

}  // namespace

bool CreateMainWindow() {
  g_window = platform::BackgroundWindow::Create("Velcrum", BackgroundColour);
  if (!g_window) return false;
  g_window->SetMaximumSize(kMaximumSizeBeforeStart, kMaximumSizeBeforeStart);
  const platform::Rect desktop = platform::DesktopRect();
  g_window->SetGeometry(0, 0, desktop.right - desktop.left, desktop.bottom + 20);
  g_window->GetWindow().SetProc(VLWndProc);
  g_hwndMain = g_window->GetWindow().Handle();
  // MCI's notifications come from the audio threads: posted, which any thread may do.
  InstallMciNotifier([](uint32_t window, uint32_t flags, uint32_t deviceId) {
    platform::Post(window,
                   platform::Message::Plain(MM_MCINOTIFY, flags, static_cast<int32_t>(deviceId)));
  });
  g_frameStyles = WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
  g_bTitleBarDragLock = false;
  ApplyFrame();
  return true;
}

void DestroyMainWindow() {
  g_window.reset();
  g_hwndMain = 0;
  g_placement = {};
}

platform::Window* MainWindow() {
  return g_window ? &g_window->GetWindow() : nullptr;
}

void ShowMainWindowOnDesktop() {
  if (!g_window) return;
  const platform::Rect desktop = platform::DesktopRect();
  // The window may grow to the desktop's right and bottom edges, no further.
  g_window->SetMaximumSize(desktop.right, desktop.bottom);
  g_window->SetGeometry(desktop.left, desktop.top, desktop.right, desktop.bottom);
  g_placement = {desktop.left, desktop.top, desktop.right, desktop.bottom};
  SetTitleBarDragLock(true);
  g_window->Show();
}

MainWindowPlacement& StoredMainWindowPlacement() {
  return g_placement;
}

bool PlaceMainWindow(int x, int y, int width, int height) {
  if (!g_window) return false;
  g_window->SetGeometry(x, y, width, height);
  return true;
}

uint32_t MainWindowStyle() {
  uint32_t style = g_frameStyles;
  if (g_window && g_window->IsVisible()) style |= WS_VISIBLE;
  if (g_window && g_window->IsMinimised()) style |= WS_MINIMIZE;
  if (g_window && g_window->IsMaximised()) style |= WS_MAXIMIZE;
  return style;
}

void ChangeMainWindowFrame(uint32_t addedStyles, uint32_t removedStyles) {
  g_frameStyles = ((g_frameStyles | addedStyles) & ~removedStyles) & kFrameStyles;
  ApplyFrame();
}

void SetTitleBarDragLock(bool locked) {
  g_bTitleBarDragLock = locked;
  if (g_window) g_window->SetMoveLock(locked);
}

bool TitleBarDragLock() {
  return g_bTitleBarDragLock;
}

void MinimiseMainWindow() {
  if (g_window) g_window->Minimise();
}

void MaximiseMainWindow() {
  if (g_window) g_window->Maximise();
}

void RaiseMainWindow() {
  if (g_window) g_window->BringToTop();
}

void FocusMainWindow() {
  if (g_window) g_window->TakeFocus();
}

void LowerMainWindow() {
  if (g_window) g_window->SendToBottom();
}

bool MoveMainWindow(int x, int y) {
  if (!g_window) return false;
  g_window->Move(x, y);
  return true;
}

bool ResizeMainWindow(int width, int height) {
  if (!g_window) return false;
  g_window->Resize(width, height);
  return true;
}

void SetMainWindowMaximumSize(int width, int height) {
  if (g_window) g_window->SetMaximumSize(width, height);
}

void RepaintMainWindow() {
  if (!g_window) return;
  std::string bitmap;
  if (g_iBackgroundMode == 3 && !BoundResources().LoadBitmap(g_szBackgroundBitmap, bitmap)) {
    platform::OutputDebugString("Velcrum: no bitmap resource " + g_szBackgroundBitmap +
                                " for the main window's background");
  }
  g_window->SetPicture(bitmap);
  g_window->Repaint();
}

void SaveScreenshotIfRequested() {
  const char* path = std::getenv("VELCRUM_SCREENSHOT");
  if (!g_window || path == nullptr || *path == '\0') return;
  if (!g_window->SavePicture(path)) {
    platform::OutputDebugString(std::string("Velcrum: cannot write the screenshot ") + path);
  }
}

}  // namespace velcrum
