// Windows: creation, procedure, title, timers.
#include "platform/desktop/window.h"

#include <QWidget>

#include "platform/desktop/desktop_session.h"

namespace velcrum::platform {

std::unique_ptr<Window> Window::Create(Kind kind, std::string_view title, QWidget* widget) {
  DesktopSession* session = DesktopSession::Current();
  if (!session) return nullptr;
  std::shared_ptr<WindowState> state = session->CreateWindow(kind, title, widget);
  if (!state) return nullptr;
  return std::unique_ptr<Window>(new Window(std::move(state)));
}

Window::Window(std::shared_ptr<WindowState> state) : state_(std::move(state)) {}

Window::~Window() {
  if (DesktopSession* session = DesktopSession::Current()) session->DestroyWindow(*state_);
}

Hwnd Window::Handle() const {
  return state_->entry.hwnd;
}

Window::Kind Window::GetKind() const {
  return state_->entry.topLevel ? Kind::kTopLevel : Kind::kMessageOnly;
}

QWidget* Window::Widget() const {
  return state_->widget;
}

void Window::SetProc(WindowProc proc) {
  state_->proc = proc ? std::make_shared<const WindowProc>(std::move(proc)) : nullptr;
}

bool Window::SetTitle(std::string_view title) {
  DesktopSession* session = DesktopSession::Current();
  return session && session->SetTitle(*state_, title);
}

std::string Window::Title() const {
  return state_->entry.title;
}

bool Window::SetTimer(uint32_t id, uint32_t intervalMs) {
  DesktopSession* session = DesktopSession::Current();
  return session && session->SetTimer(*state_, id, intervalMs);
}

bool Window::KillTimer(uint32_t id) {
  DesktopSession* session = DesktopSession::Current();
  return session && session->KillTimer(*state_, id);
}

}  // namespace velcrum::platform
