// The panel dialog procedure.
#include "panels/panel_dialog_proc.h"

#include <string>

#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "panels/owner_draw_bitmap.h"
#include "panels/panel_table.h"
#include "platform/dialog.h"
#include "runtime/event_routing.h"
#include "runtime/menu_items.h"
#include "runtime/module.h"
#include "runtime/subsystem_settings.h"
#include "runtime/variables_shortcut.h"

namespace velcrum {
namespace {

using platform::Message;
using platform::Result;

using platform::HighWord;
using platform::LowWord;

// Tells the script editor, when it is open, which line a control runs.
void ShowControlInEditor(int line, bool alsoDebugOut) {
  if (!TheHost().EditorOpen()) return;
  const std::string text = Format("Control -> %d", line);
  TheHost().EditorStatus(text);
  if (alsoDebugOut) DebugOut(text);
}

void ControlEvent(const Message& message) {
  PlayClickSound(g_szCommandSound);
  // Button clicks (and menu commands) and selection changes; every other notification
  // (double clicks, focus, edit changes) runs nothing.
  if (HighWord(message.wParam) > 1) return;
  const int id = LowWord(message.wParam);

  if (g_panelSettings.allowSystemMenuExit == 1 && id == platform::IDCANCEL) {
    const std::string text = Format(
        "<%s> VLPanel_DialogProc: Velcrum.ini variable AllowSystemMenuExit is Set and message "
        "is WM_DESTROY, Post Quit Msg.",
        g_instanceName.c_str());
    DebugOut(text);
    TheHost().SystemDebuggerOut(text);
    TheHost().PostQuit(0);
    return;
  }
  if (id == 0 || id > kMaxControlId || g_bPanelShowGuard) return;

  if (g_execOverride.Covers(id)) {
    ShowControlInEditor(g_execOverride.line, true);
    g_lIntegerVariables[g_execOverride.variable] = id;
    DeliverControlLine(g_execOverride.line);
    return;
  }
  if (message.lParam == 13) {
    if (g_iReturnKeyLine != 0) DeliverControlLine(g_iReturnKeyLine);
  } else {
    ShowControlInEditor(id, false);
    DeliverControlLine(id);
  }
  TheHost().RaiseToolWindows(true);
  TheHost().RefreshVariablesWindows();
}

// A script timer the main window passed on: the clock variables for timer 1, then the
// timer's first and second lines alternately, each as a command posted to this panel.
void ScriptTimerTick(platform::Dialog* dialog, uint32_t timer) {
  if (timer < 1 || timer > kScriptTimerCount) return;
  if (timer == 1) SetClockVariables();
  ScriptTimer& state = g_scriptTimers[timer];
  int32_t line;
  if (state.state == 1) {
    line = state.firstLine;
    state.state = -1;
  } else {
    line = state.secondLine;
    state.state = 1;
  }
  if (dialog) {
    dialog->Post(Message::Plain(platform::WM_COMMAND, static_cast<uint32_t>(line), 0));
  }
}

// Thumb tracking on a scroll bar runs the bar's line and moves its thumb to where it was
// dragged; the bar does not move its own thumb.
void ScrollBarEvent(int panel, const Message& message) {
  platform::Dialog* dialog = PanelDialog(panel);
  if (!dialog || LowWord(message.wParam) != platform::SB_THUMBTRACK) return;
  const auto handle = static_cast<uint32_t>(message.lParam);
  for (const int id : dialog->ControlIds()) {
    if (dialog->ControlHandle(id) != handle) continue;
    DeliverControlLine(id);
    // The line may have destroyed the panel.
    if (platform::Dialog* still = PanelDialog(panel)) {
      still->SetScrollPos(id, HighWord(message.wParam), true);
    }
    return;
  }
}

Result Handle(int panel, const Message& message) {
  platform::Dialog* dialog = PanelDialog(panel);
  switch (message.message) {
    case platform::WM_PAINT:
      if (dialog && dialog->IsMinimised()) TheHost().Beep();
      return 0;
    case platform::WM_DRAWITEM:
      if (dialog) VLXBmp_OwnerDraw(*dialog, message);
      return 1;
    case platform::WM_COMMAND:
      ControlEvent(message);
      return 0;
    case platform::WM_TIMER:
      ScriptTimerTick(dialog, message.wParam);
      return 0;
    case platform::WM_VSCROLL:
      ScrollBarEvent(panel, message);
      return 1;
    case platform::WM_LBUTTONDOWN:
      TheHost().RaiseToolWindows(true);
      return 1;
    case platform::WM_RBUTTONDOWN:
      TheHost().RaiseToolWindows(false);
      TheHost().ShowPopupMenu();
      return 1;
    case platform::WM_PARENTNOTIFY:
      PlayClickSound(g_szMouseDownSound);
      return 1;
    case platform::WM_SYSKEYDOWN:
    case platform::WM_SYSKEYUP:
      // Alt with Shift then "D" toggles the variables windows here too, as the menu's item
      // does on the main window.
      if (CompletesVariablesShortcut(message)) {
        TheHost().PostToMainWindow(platform::WM_COMMAND, kMenuShowVariables);
      }
      return 0;
    default:
      return 0;
  }
}

}  // namespace

Result VLPanel_DialogProc(int panel, const Message& message) {
  if (g_settings.timeStampStartup) {
    TimeStamp(Format("13c4PDP1a: dialogProcMsg: %d", static_cast<int>(message.message)));
  }
  const Result result = Handle(panel, message);
  DrainModuleQueues();
  return result;
}

}  // namespace velcrum
