// The main window: a background window painted by the background mode and sized to the
// desktop.
#include "shell/main_window.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/desktop/background_window.h"
#include "platform/desktop/debug_output.h"
#include "platform/desktop/screen.h"
#include "runtime/process_state.h"

namespace velcrum {
namespace {

// Painting by mode: 2 black, every other mode light grey. Mode 3's bitmap comes from the
// panel's resources, which the panels bring; until then it paints grey too.
platform::Colour BackgroundColour() {
  return g_iBackgroundMode == 2 ? platform::Colour{0, 0, 0} : platform::Colour{192, 192, 192};
}

// Windows limited the window to 32000 by 32000 until initialisation knew the desktop.
constexpr int kMaximumSizeBeforeStart = 32000;

std::unique_ptr<platform::BackgroundWindow> g_window;

}  // namespace

bool CreateMainWindow() {
  g_window = platform::BackgroundWindow::Create("Velcrum", BackgroundColour);
  if (!g_window) return false;
  g_window->SetMaximumSize(kMaximumSizeBeforeStart, kMaximumSizeBeforeStart);
  const platform::Rect desktop = platform::DesktopRect();
  g_window->SetGeometry(0, 0, desktop.right - desktop.left, desktop.bottom + 20);
  g_window->GetWindow().SetProc(VLWndProc);
  g_hwndMain = g_window->GetWindow().Handle();
  return true;
}

void DestroyMainWindow() {
  g_window.reset();
  g_hwndMain = 0;
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
  g_window->Show();
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
  if (g_window) g_window->Repaint();
}

void SaveScreenshotIfRequested() {
  const char* path = std::getenv("VELCRUM_SCREENSHOT");
  if (!g_window || path == nullptr || *path == '\0') return;
  if (!g_window->SavePicture(path)) {
    platform::OutputDebugString(std::string("Velcrum: cannot write the screenshot ") + path);
  }
}

}  // namespace velcrum
