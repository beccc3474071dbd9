// EM (caption, text, modal, time-out in ms).
//
// The blocking form shows a box and the line goes on after it. The other form opens the
// message window, notes where the line stands (line, command, subroutine depth and the
// return entry at that depth) and ends the line; pressing "Ok" or the time-out puts that
// place back and runs the line from the command after EM. Only one such window exists:
// another EM while it is open does nothing.
#include "shell/message_window_command.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>
#include <string>

#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "interpreter/nested_run.h"
#include "network/kal_messages.h"
#include "platform/desktop/screen.h"
#include "platform/dialog.h"
#include "platform/dialog_template.h"
#include "platform/window_styles.h"
#include "runtime/timers.h"
#include "shell/configuration.h"
#include "shell/main_window.h"

namespace velcrum {
namespace {

constexpr int kDefaultWidth = 200;
constexpr int kDefaultHeight = 170;
constexpr int kOkButton = 1;
constexpr int kTextField = 100;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 24;
constexpr int kShortestTimeOutMs = 1000;
constexpr int kDeepestSavedDepth = 500;

using namespace platform;  // the WS_ style bits
constexpr uint32_t ES_MULTILINE = 0x0004;
constexpr uint32_t ES_AUTOVSCROLL = 0x0040;
constexpr uint32_t ES_READONLY = 0x0800;
constexpr uint32_t BS_DEFPUSHBUTTON = 0x0001;

struct SuspendedLine {
  int line = 0;
  int command = 0;
  int procStackPtr = -1;
  ProcStackEntry returnEntry;
};

std::unique_ptr<platform::Dialog> g_messageWindow;
SuspendedLine g_suspended;

struct Placement {
  int x, y, width, height;
};

// The configured size, kept on the screen; centred where a window of the default size
// would be, unless a position is configured.
Placement MessageWindowPlacement() {
  const platform::Rect screen = platform::DesktopRect();
  const int screenWidth = screen.right - screen.left;
  const int screenHeight = screen.bottom - screen.top;
  Placement at{0, 0, kDefaultWidth, kDefaultHeight};
  if (g_config.emMessageWindowSizeW != 0 || g_config.emMessageWindowSizeH != 0) {
    at.width =
        std::clamp(g_config.emMessageWindowSizeW, 1, std::max(1, screenWidth - kDefaultWidth));
    at.height =
        std::clamp(g_config.emMessageWindowSizeH, 1, std::max(1, screenHeight - kDefaultHeight));
  }
  if (g_config.emMessageWindowPositionX == 0 && g_config.emMessageWindowPositionY == 0) {
    at.x = (screenWidth - kDefaultWidth) / 2;
    at.y = (screenHeight - kDefaultHeight) / 2;
  } else {
    at.x = std::min(g_config.emMessageWindowPositionX, screenWidth - at.width);
    at.y = std::min(g_config.emMessageWindowPositionY, screenHeight - at.height);
  }
  return at;
}

platform::DialogTemplate MessageWindowTemplate(const std::string& caption,
                                               const std::string& text) {
  platform::DialogTemplate window;
  window.className = "EXEC_MESSAGE";
  window.caption = caption;
  window.style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  // Sizes in dialog units are only a start: the window is placed in pixels once it exists.
  window.cx = kDefaultWidth;
  window.cy = kDefaultHeight;
  platform::ControlTemplate field;
  field.className = "EDIT";
  field.text = text;
  field.id = kTextField;
  field.style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY;
  platform::ControlTemplate ok;
  ok.className = "BUTTON";
  ok.text = "Ok";
  ok.id = kOkButton;
  ok.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;
  window.controls = {field, ok};
  return window;
}

// The window's procedure: "Ok" and the close box are carried out from the main window,
// since the window cannot be destroyed inside its own procedure.
platform::Result MessageWindowProc(const platform::Message& message) {
  if (message.message == platform::WM_COMMAND && (message.wParam & 0xFFFF) == kOkButton) {
    TheHost().PostToMainWindow(kMsgMessageWindowDone, 1);
    return 1;
  }
  if (message.message == platform::WM_CLOSE) {
    TheHost().PostToMainWindow(kMsgMessageWindowDone, 0);
    return 1;
  }
  return 0;
}

bool OpenMessageWindow(const std::string& caption, const std::string& text) {
  platform::DialogCreation created =
      platform::CreateDialog(MessageWindowTemplate(caption, text), 0, MessageWindowProc, {});
  if (!created.dialog) {
    DebugOut("EM: the message window cannot be created: " + created.detail);
    return false;
  }
  g_messageWindow = std::move(created.dialog);
  platform::Dialog& window = *g_messageWindow;
  const Placement at = MessageWindowPlacement();
  // Shown first, so that its size counts the frame the window system gives it.
  window.Show(platform::ShowCommand::kShow);
  window.Move(at.x, at.y);
  window.Resize(at.width, at.height);
  window.MoveControl(kTextField, 4, 4);
  window.ResizeControl(kTextField, at.width - 10, at.height - 60);
  window.MoveControl(kOkButton, at.width / 2 - kButtonWidth / 2, at.height - 50);
  window.ResizeControl(kOkButton, kButtonWidth, kButtonHeight);
  window.BringToTop();
  window.FocusControl(kOkButton);
  return true;
}

void SuspendLine(const CommandCall& call) {
  g_suspended.line = call.line;
  g_suspended.command = call.index;
  g_suspended.procStackPtr = g_iProcStackPtr;
  if (g_iProcStackPtr > kDeepestSavedDepth) DebugOut("EM: stack overflow");
  g_suspended.returnEntry = g_iProcStackPtr >= 0 && g_iProcStackPtr < kProcStackSize
                                ? g_iProcStack[g_iProcStackPtr]
                                : ProcStackEntry{};
}

void ResumeLine() {
  const SuspendedLine suspended = g_suspended;
  g_iProcStackPtr = suspended.procStackPtr;
  if (suspended.procStackPtr >= 0 && suspended.procStackPtr < kProcStackSize) {
    g_iProcStack[suspended.procStackPtr] = suspended.returnEntry;
  }
  RunLine(suspended.line, suspended.command + 1);
}

void KillMessageWindowTimer() {
  if (platform::Window* window = MainWindow()) window->KillTimer(kMessageWindowTimer);
}

void FinishMessageWindow(bool resume) {
  KillMessageWindowTimer();
  if (!g_messageWindow) return;
  g_messageWindow.reset();
  if (resume) ResumeLine();
}

}  // namespace

int ExecEM(const CommandCall& call) {
  GetArguments(call.text, 4);
  if (g_messageWindow) return 0;
  const std::string caption =
      ParamTextLength(1) < 2 ? std::string("Information") : std::string(ParamText(1));
  const std::string text = ParamTextLength(2) < 2 ? std::string("<Message parameter missing> ? ? ?")
                                                  : std::string(ParamText(2));
  const int32_t modal = ParamValue(3);
  int32_t timeOut = ParamValue(4);
  if (modal == 1) {
    // Lines that run while the box is open must not move this line's place.
    const NestedRun keepPlace;
    TheHost().ShowMessageBox(caption, text, {MessageBoxButtons::kOk, MessageBoxIcon::kStop});
    return 0;
  }
  if (timeOut == 0) timeOut = INT32_MAX;
  if (timeOut < kShortestTimeOutMs) timeOut = kShortestTimeOutMs;
  if (!OpenMessageWindow(caption, text)) return 0;
  SuspendLine(call);
  if (platform::Window* window = MainWindow()) {
    window->SetTimer(kMessageWindowTimer, static_cast<uint32_t>(timeOut));
  }
  return 1;
}

void OnMessageWindowTimer() {
  FinishMessageWindow(true);
}

void OnMessageWindowDone(bool resume) {
  FinishMessageWindow(resume);
}

void RaiseMessageWindow() {
  if (g_messageWindow) g_messageWindow->BringToTop();
}

void CloseMessageWindow() {
  KillMessageWindowTimer();
  g_messageWindow.reset();
  g_suspended = {};
}

namespace {

constexpr CommandEntry kRows[] = {
    {"EM", ExecEM},
};

}  // namespace

const CommandTable kMessageWindowCommand = kRows;

}  // namespace velcrum
