// The runtime's host: the platform layer's debugger channel and message boxes.
#include "shell/runtime_host.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "network/net_frame.h"
#include "network/net_link.h"
#include "panels/panel_control_window.h"
#include "platform/desktop/debug_output.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/input_translation.h"
#include "platform/desktop/message_box.h"
#include "platform/desktop/remote_hand.h"
#include "platform/desktop/window_geometry.h"
#include "platform/play_sound.h"
#include "platform/process.h"
#include "runtime/process_state.h"
#include "shell/instance_limits.h"
#include "shell/main_window.h"
#include "shell/message_window_command.h"
#include "shell/shell_menu.h"
#include "shell/shutdown.h"
#include "tools/debug_window.h"
#include "tools/script_editor.h"
#include "tools/variables_windows.h"

namespace velcrum {
namespace {

platform::BoxIcon ToBoxIcon(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::kInformation:
      return platform::BoxIcon::kInformation;
    case MessageBoxIcon::kExclamation:
      return platform::BoxIcon::kExclamation;
    case MessageBoxIcon::kStop:
      return platform::BoxIcon::kStop;
    case MessageBoxIcon::kNone:
      break;
  }
  return platform::BoxIcon::kNone;
}

}  // namespace

void RuntimeHost::SystemDebuggerOut(std::string_view text) {
  platform::OutputDebugString(text);
}

MessageBoxAnswer RuntimeHost::ShowMessageBox(std::string_view caption, std::string_view text,
                                             MessageBoxStyle style) {
  const platform::BoxButtons buttons = style.buttons == MessageBoxButtons::kOkCancel
                                           ? platform::BoxButtons::kOkCancel
                                           : platform::BoxButtons::kOk;
  const platform::BoxAnswer answer = platform::MessageBox(
      g_hwndMain, caption, text, {buttons, ToBoxIcon(style.icon), style.systemModal});
  return answer == platform::BoxAnswer::kCancel ? MessageBoxAnswer::kCancel : MessageBoxAnswer::kOk;
}

void RuntimeHost::RaiseToolWindows(bool messageWindowToo) {
  RaiseVariablesWindows();
  if (messageWindowToo) RaiseMessageWindow();
}

bool RuntimeHost::DebugWindowExists() {
  return velcrum::DebugWindowExists();
}

void RuntimeHost::DebugWindowAppend(std::string_view text) {
  AppendToDebugWindow(text);
}

bool RuntimeHost::EditorOpen() {
  return ScriptEditorOpen();
}

void RuntimeHost::EditorStatus(std::string_view text) {
  SetEditorStatus(text);
}

void RuntimeHost::RefreshVariablesWindows() {
  velcrum::RefreshVariablesWindows();
}

void RuntimeHost::Beep() {
  platform::Beep();
}

void RuntimeHost::PlaySoundAsync(std::string_view file) {
  velcrum::PlaySoundAsync(file);
}

void RuntimeHost::SetMainWindowTitle(std::string_view title) {
  if (platform::Window* window = MainWindow()) window->SetTitle(title);
}

bool RuntimeHost::TopLevelWindowExists(std::string_view title) {
  return platform::FindWindow(title) != platform::kNoWindow;
}

int RuntimeHost::RunningCopiesLoad() {
  return velcrum::RunningCopiesLoad();
}

void RuntimeHost::PostToMainWindow(uint32_t message, uint32_t wParam) {
  platform::Post(g_hwndMain, platform::Message::Plain(message, wParam));
}

uint32_t RuntimeHost::FindTopLevelWindow(std::string_view title) {
  return platform::FindWindow(title);
}

void RuntimeHost::PostToWindow(uint32_t hwnd, uint32_t message, uint32_t wParam) {
  platform::Post(hwnd, platform::Message::Plain(message, wParam));
}

void RuntimeHost::SendTextFrame(uint32_t hwnd, uint32_t message, uint32_t wParam,
                                std::string_view text) {
  std::array<char, kTextFrameBytes> frame{};
  std::memcpy(frame.data(), text.data(), std::min(text.size(), frame.size() - 1));
  VLNetSup_Send(g_hwndMain, hwnd, message, wParam, frame.data(), 0);
}

void RuntimeHost::BringWindowToTop(uint32_t hwnd) {
  if (!platform::RaiseWindow(hwnd)) {
    platform::OutputDebugString("Velcrum: window " + std::to_string(hwnd) + " cannot be raised");
  }
}

bool RuntimeHost::MoveWindow(uint32_t hwnd, int x, int y, int width, int height) {
  return platform::MoveLocalWindow(hwnd, x, y, width, height);
}

PanelControlWindow RuntimeHost::FindPanelControlWindow(const CommandCall& call, int panel,
                                                       int control) {
  return velcrum::FindPanelControlWindow(call, panel, control);
}

bool RuntimeHost::CloseSurplusCopy(int threshold) {
  return CloseOneSurplusCopy(threshold);
}

bool RuntimeHost::ProcessGroupAnswers(int group) {
  for (const platform::WindowInfo& window : platform::TopLevelWindows()) {
    if (IsInProcessGroup(window.pid, group) &&
        platform::Send(window.hwnd, platform::Message::Plain(platform::WM_NULL))) {
      return true;
    }
  }
  return false;
}

bool RuntimeHost::DispatchMessagesUntil(const std::function<bool()>& done, int timeoutMs) {
  return platform::RunMessagesUntil(done, timeoutMs);
}

bool RuntimeHost::SetMainWindowTimer(uint32_t id, uint32_t intervalMs) {
  platform::Window* window = MainWindow();
  return window && window->SetTimer(id, intervalMs);
}

bool RuntimeHost::KillMainWindowTimer(uint32_t id) {
  platform::Window* window = MainWindow();
  return window && window->KillTimer(id);
}

void RuntimeHost::ShowPopupMenu() {
  velcrum::ShowPopupMenu();
}

void RuntimeHost::SetMenuItemChecked(uint32_t item, bool checked) {
  velcrum::SetMenuItemChecked(item, checked);
}

bool RuntimeHost::MoveMainWindow(int x, int y) {
  return velcrum::MoveMainWindow(x, y);
}

bool RuntimeHost::ResizeMainWindow(int width, int height) {
  return velcrum::ResizeMainWindow(width, height);
}

void RuntimeHost::SetMainWindowMaximumSize(int width, int height) {
  velcrum::SetMainWindowMaximumSize(width, height);
}

void RuntimeHost::PostQuit(int exitCode) {
  platform::PostQuit(exitCode);
}

void RuntimeHost::MainCloseDown() {
  velcrum::MainCloseDown();
}

int16_t RuntimeHost::KeyState(uint32_t virtualKey) {
  return platform::KeyState(virtualKey);
}

void RuntimeHost::FocusMainWindow(bool foreground) {
  if (foreground) RaiseMainWindow();
  velcrum::FocusMainWindow();
}

bool RuntimeHost::PostFromAnyThread(uint32_t hwnd, uint32_t message, uint32_t wParam,
                                    int32_t lParam) {
  return platform::Post(hwnd, platform::Message::Plain(message, wParam, lParam));
}

void RuntimeHost::EndProcess(int exitCode) {
  // The log file is flushed after every record; the standard streams are flushed here. The
  // desktop's entries of this process are cleaned up by whoever finds them next.
  std::fflush(nullptr);
  std::_Exit(exitCode);
}

}  // namespace velcrum
