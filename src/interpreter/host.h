// The interpreter's one window on the world outside it.
//
// The interpreter is a library: it never opens a window, a box or a stream itself.
// Whatever front end runs it (the Qt runtime, velcrum-run, a unit test) installs a Host
// that shows message boxes, carries system-debugger output and knows about the debug
// window, the script editor and the variables windows. Without one, a silent host is
// used that answers every box with its default button.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "interpreter/command_table.h"

namespace velcrum {

enum class MessageBoxButtons { kOk, kOkCancel };
enum class MessageBoxIcon { kNone, kInformation, kExclamation, kStop };

struct MessageBoxStyle {
  MessageBoxButtons buttons = MessageBoxButtons::kOk;
  MessageBoxIcon icon = MessageBoxIcon::kNone;
  bool systemModal = false;
};

enum class MessageBoxAnswer { kOk, kCancel };

// A panel's control as a window: the handle its notifications carry (what QC gives) and
// its size in pixels; handle 0 when the panel or the control does not exist.
struct PanelControlWindow {
  uint32_t handle = 0;
  int width = 0;
  int height = 0;
};

class Host {
 public:
  virtual ~Host() = default;

  // OutputDebugString: one call, one line (the text carries no line feed).
  virtual void SystemDebuggerOut(std::string_view text) = 0;

  // The debug window: whether it exists, and appending one line to it.
  virtual bool DebugWindowExists() { return false; }
  virtual void DebugWindowAppend(std::string_view /*text*/) {}

  // A modal box owned by the main window; returns once the operator has answered.
  virtual MessageBoxAnswer ShowMessageBox(std::string_view caption, std::string_view text,
                                          MessageBoxStyle style) = 0;

  // MessageBeep(0): the default system sound.
  virtual void Beep() {}

  // The script editor: whether it is open, and its one-line status field.
  virtual bool EditorOpen() { return false; }
  virtual void EditorStatus(std::string_view /*text*/) {}

  // The variables windows show the variables; a breakpoint asks them to refresh first.
  virtual void RefreshVariablesWindows() {}

  // The shell behind the interpreter: the main window, the other windows of the desktop
  // and the life of the process. A host without a main window (velcrum-run, tests)
  // finds no window and ignores the rest.
  virtual void SetMainWindowTitle(std::string_view /*title*/) {}
  virtual bool TopLevelWindowExists(std::string_view /*title*/) { return false; }
  // The load of running copies of the program: their number * 100 / MaxExecWindows.
  virtual int RunningCopiesLoad() { return 0; }
  virtual void PostToMainWindow(uint32_t /*message*/, uint32_t /*wParam*/) {}
  // Other windows of the desktop: FindWindow by title (0 when there is none), a posted
  // message, a text handed over in a framed call of the network link (its reply not
  // used), and BringWindowToTop.
  virtual uint32_t FindTopLevelWindow(std::string_view /*title*/) { return 0; }
  virtual void PostToWindow(uint32_t /*hwnd*/, uint32_t /*message*/, uint32_t /*wParam*/) {}
  virtual void SendTextFrame(uint32_t /*hwnd*/, uint32_t /*message*/, uint32_t /*wParam*/,
                             std::string_view /*text*/) {}
  virtual void BringWindowToTop(uint32_t /*hwnd*/) {}
  // MoveWindow on a window of this process: x, y in its parent's client area (the
  // screen's for a top-level window), with that size; false when there is no such window.
  virtual bool MoveWindow(uint32_t /*hwnd*/, int /*x*/, int /*y*/, int /*width*/, int /*height*/) {
    return false;
  }
  // A panel's control for the video commands. A panel or a control that does not exist
  // is reported as the panels' addressing rules report it, with the call's two letters. A
  // host without panels finds none and reports nothing.
  virtual PanelControlWindow FindPanelControlWindow(const CommandCall& /*call*/, int /*panel*/,
                                                    int /*control*/) {
    return {};
  }
  // The instance-limit check with a threshold: when the load of running copies exceeds it,
  // the other copies are asked to close until one agrees. True when one closed.
  virtual bool CloseSurplusCopy(int /*threshold*/) { return false; }
  // Whether a process of the process group `group` has a top-level window on the desktop
  // that answers a message: the program has come to its message loop (or answers while it
  // sends, as a copy of the runtime does once its title is set).
  virtual bool ProcessGroupAnswers(int /*group*/) { return false; }
  // Waits until `done` answers true or timeoutMs have passed, window messages dispatched
  // meanwhile (so lines may run); false on time-out. Without a message loop it only waits,
  // asking `done` every few milliseconds.
  virtual bool DispatchMessagesUntil(const std::function<bool()>& done, int timeoutMs);
  // The main window's timers (the script timers are timers 1 to 16 of the main window):
  // SetTimer replaces a running timer; false without a main window.
  virtual bool SetMainWindowTimer(uint32_t /*id*/, uint32_t /*intervalMs*/) { return false; }
  virtual bool KillMainWindowTimer(uint32_t /*id*/) { return false; }
  // The main window's pop-up menu at the cursor (a right click on a panel shows it too).
  virtual void ShowPopupMenu() {}
  // The check mark of one of the pop-up menu's items (the editor's, 501).
  virtual void SetMenuItemChecked(uint32_t /*item*/, bool /*checked*/) {}
  // The main window's place and size in screen pixels, each kept when the other changes,
  // and the largest size it may take; false without a main window.
  virtual bool MoveMainWindow(int /*x*/, int /*y*/) { return false; }
  virtual bool ResizeMainWindow(int /*width*/, int /*height*/) { return false; }
  virtual void SetMainWindowMaximumSize(int /*width*/, int /*height*/) {}
  // Brings the variables window and, when asked, the message window to the top, those of
  // them that exist (a click on a panel does this).
  virtual void RaiseToolWindows(bool /*messageWindowToo*/) {}
  // PostQuitMessage: the message loop ends once the current message is handled.
  virtual void PostQuit(int /*exitCode*/) {}
  // sndPlaySound with SND_ASYNC and SND_NODEFAULT: starts playing a wave file and returns
  // at once; a host without sound ignores it.
  virtual void PlaySoundAsync(std::string_view /*file*/) {}
  virtual void MainCloseDown() {}
  // The keyboard, for the keyboard capture: GetKeyState of a virtual key (bit 15 while the
  // key is held, bit 0 the toggle of the lock keys); the keyboard focus for the main window
  // (SetFocus, and with `foreground` also SetForegroundWindow and BringWindowToTop); and
  // PostMessage to a window of this process from any thread, as the keyboard hook's reader
  // posts its keys (false when it was not queued).
  virtual int16_t KeyState(uint32_t /*virtualKey*/) { return 0; }
  virtual void FocusMainWindow(bool /*foreground*/) {}
  virtual bool PostFromAnyThread(uint32_t /*hwnd*/, uint32_t /*message*/, uint32_t /*wParam*/,
                                 int32_t /*lParam*/) {
    return false;
  }
  // Ends the process at once (EQ 1000), without returning to the message loop.
  virtual void EndProcess(int /*exitCode*/) {}
};

// The host in use; never null.
Host& TheHost();

// Installs a host (nullptr restores the silent one). The caller keeps ownership.
void SetHost(Host* host);

}  // namespace velcrum
