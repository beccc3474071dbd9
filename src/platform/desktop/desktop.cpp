// The desktop's interface functions, over the open session.
#include "platform/desktop/desktop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>

#include "platform/desktop/desktop_directory.h"
#include "platform/desktop/desktop_session.h"
#include "platform/desktop/window_registry.h"

namespace velcrum::platform {
namespace {

SendBounds g_sendBounds;
constexpr qint64 kConditionPollMs = 20;

}  // namespace

bool OpenDesktop(std::string* error) {
  return OpenDesktop(DesktopDirectoryFromEnvironment(), error);
}

bool OpenDesktop(const std::string& dir, std::string* error) {
  return DesktopSession::Open(dir, error);
}

void CloseDesktop() {
  DesktopSession::Close();
}

bool DesktopIsOpen() {
  return DesktopSession::Current() != nullptr;
}

std::string DesktopDirectory() {
  const DesktopSession* session = DesktopSession::Current();
  return session ? session->Directory() : std::string();
}

std::optional<Result> Send(Hwnd to, const Message& message) {
  DesktopSession* session = DesktopSession::Current();
  if (!session || to == kNoWindow) return std::nullopt;
  return session->Send(to, message);
}

void SetSendBounds(const SendBounds& bounds) {
  g_sendBounds = SendBounds{std::max(bounds.sendMs, 1), std::max(bounds.broadcastMs, 1)};
}

SendBounds CurrentSendBounds() {
  return g_sendBounds;
}

bool Post(Hwnd to, Message message) {
  DesktopSession* session = DesktopSession::Current();
  if (!session || to == kNoWindow) return false;
  return session->Post(to, std::move(message));
}

void PostQuit(int exitCode) {
  if (DesktopSession* session = DesktopSession::Current()) {
    session->PostQuit(exitCode);
  } else {
    QCoreApplication::exit(exitCode);
  }
}

int RunMessageLoop() {
  return QCoreApplication::exec();
}

bool RunMessagesUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    const qint64 left = timeoutMs - clock.elapsed();
    if (left <= 0) return false;
    QEventLoop loop;
    QTimer::singleShot(std::min(left, kConditionPollMs), &loop, &QEventLoop::quit);
    loop.exec();
  }
  return true;
}

std::vector<WindowInfo> AllWindows() {
  DesktopSession* session = DesktopSession::Current();
  return session ? session->ListWindows() : std::vector<WindowInfo>();
}

std::vector<WindowInfo> TopLevelWindows(ZOrder order) {
  std::vector<WindowInfo> windows = AllWindows();
  std::erase_if(windows, [](const WindowInfo& window) { return !window.topLevel; });
  if (order == ZOrder::kTopFirst) std::reverse(windows.begin(), windows.end());
  return windows;
}

Hwnd FindWindow(std::string_view title) {
  for (const WindowInfo& window : TopLevelWindows(ZOrder::kTopFirst)) {
    if (TitlesMatch(window.title, title)) return window.hwnd;
  }
  return kNoWindow;
}

bool IsWindow(Hwnd hwnd) {
  DesktopSession* session = DesktopSession::Current();
  return session && session->Lookup(hwnd).has_value();
}

std::string WindowTitle(Hwnd hwnd) {
  DesktopSession* session = DesktopSession::Current();
  if (!session) return {};
  const std::optional<WindowInfo> entry = session->Lookup(hwnd);
  return entry ? entry->title : std::string();
}

}  // namespace velcrum::platform
