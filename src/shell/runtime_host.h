// The interpreter's host in the velcrum runtime: system-debugger output and message boxes
// through the platform layer, boxes owned by the main window.
#pragma once

#include "interpreter/host.h"

namespace velcrum {

class RuntimeHost final : public Host {
 public:
  void SystemDebuggerOut(std::string_view text) override;
  MessageBoxAnswer ShowMessageBox(std::string_view caption, std::string_view text,
                                  MessageBoxStyle style) override;
  void Beep() override;
  // The variables windows are the developer tools'; the message window is the shell's.
  void RaiseToolWindows(bool messageWindowToo) override;
  void SetMainWindowTitle(std::string_view title) override;
  bool TopLevelWindowExists(std::string_view title) override;
  int RunningCopiesLoad() override;
  void PostToMainWindow(uint32_t message, uint32_t wParam) override;
  uint32_t FindTopLevelWindow(std::string_view title) override;
  void PostToWindow(uint32_t hwnd, uint32_t message, uint32_t wParam) override;
  void BringWindowToTop(uint32_t hwnd) override;
  bool MoveWindow(uint32_t hwnd, int x, int y, int width, int height) override;
  PanelControlWindow FindPanelControlWindow(const CommandCall& call, int panel,
                                            int control) override;
  void SendTextFrame(uint32_t hwnd, uint32_t message, uint32_t wParam,
                     std::string_view text) override;
  bool CloseSurplusCopy(int threshold) override;
  bool ProcessGroupAnswers(int group) override;
  bool DispatchMessagesUntil(const std::function<bool()>& done, int timeoutMs) override;
  bool SetMainWindowTimer(uint32_t id, uint32_t intervalMs) override;
  bool KillMainWindowTimer(uint32_t id) override;
  void ShowPopupMenu() override;
  void SetMenuItemChecked(uint32_t item, bool checked) override;
  bool DebugWindowExists() override;
  void DebugWindowAppend(std::string_view text) override;
  bool EditorOpen() override;
  void EditorStatus(std::string_view text) override;
  void RefreshVariablesWindows() override;
  bool MoveMainWindow(int x, int y) override;
  bool ResizeMainWindow(int width, int height) override;
  void SetMainWindowMaximumSize(int width, int height) override;
  void PostQuit(int exitCode) override;
  void PlaySoundAsync(std::string_view file) override;
  void MainCloseDown() override;
  int16_t KeyState(uint32_t virtualKey) override;
  void FocusMainWindow(bool foreground) override;
  bool PostFromAnyThread(uint32_t hwnd, uint32_t message, uint32_t wParam, int32_t lParam) override;
  void EndProcess(int exitCode) override;
};

}  // namespace velcrum
