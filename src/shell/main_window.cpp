// The main window's widget: a plain window that paints its background by the background
// mode and is sized to the desktop.
#include "shell/main_window.h"

#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/desktop/debug_output.h"
#include "platform/desktop/screen.h"
#include "shell/shell_state.h"

namespace velcrum {
namespace {

// Painting by mode: 2 black, every other mode light grey. Mode 3's bitmap comes from the
// panel's resources, which the panels bring; until then it paints grey too.
class MainWindowWidget final : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), g_iBackgroundMode == 2 ? QColor(0, 0, 0) : QColor(192, 192, 192));
  }
};

// Windows limited the window to 32000 by 32000 until initialisation knew the desktop.
constexpr int kMaximumSizeBeforeStart = 32000;

std::unique_ptr<MainWindowWidget> g_widget;
std::unique_ptr<platform::Window> g_window;

}  // namespace

bool CreateMainWindow() {
  g_widget = std::make_unique<MainWindowWidget>();
  g_widget->setMaximumSize(kMaximumSizeBeforeStart, kMaximumSizeBeforeStart);
  const platform::Rect desktop = platform::DesktopRect();
  g_widget->setGeometry(0, 0, desktop.right - desktop.left, desktop.bottom + 20);
  g_window = platform::Window::Create(platform::Window::Kind::kTopLevel, "Velcrum", g_widget.get());
  if (!g_window) {
    g_widget.reset();
    return false;
  }
  g_window->SetProc(VLWndProc);
  g_hwndMain = g_window->Handle();
  return true;
}

void DestroyMainWindow() {
  g_window.reset();
  g_widget.reset();
  g_hwndMain = 0;
}

platform::Window* MainWindow() {
  return g_window.get();
}

void ShowMainWindowOnDesktop() {
  if (!g_widget) return;
  const platform::Rect desktop = platform::DesktopRect();
  // The window may grow to the desktop's right and bottom edges, no further.
  g_widget->setMaximumSize(desktop.right, desktop.bottom);
  g_widget->setGeometry(desktop.left, desktop.top, desktop.right, desktop.bottom);
  g_widget->show();
  g_widget->update();
}

void RepaintMainWindow() {
  if (g_widget) g_widget->update();
}

void SaveScreenshotIfRequested() {
  const char* path = std::getenv("VELCRUM_SCREENSHOT");
  if (!g_widget || path == nullptr || *path == '\0') return;
  if (!g_widget->grab().save(QString::fromLocal8Bit(path), "PNG")) {
    platform::OutputDebugString(std::string("Velcrum: cannot write the screenshot ") + path);
  }
}

}  // namespace velcrum
