// The queries: QC, QD, QH, QP and QS.
//
// Window handles are the desktop's numbers: a panel's dialog window, the main window, and
// for a control the handle its notifications carry. QS P gives 0 by 0 for panel 0 (its slot
// is never filled) and for a panel that is not open. QS K answers 437, the OEM code page of
// a Western Windows system, since the host has no OEM code page of its own and the
// scripts that ask compare against the numbers Windows gives.
#include "panels/query_commands.h"

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"
#include "interpreter/version.h"
#include "panels/panel_table.h"
#include "platform/dialog.h"
#include "platform/tick_count.h"
#include "runtime/process_state.h"

namespace velcrum {
namespace {

constexpr int32_t kOemCodePage = 437;

void CheckNumbers(const CommandCall& call, std::initializer_list<int> params) {
  for (int n : params) CheckNumericParam(Mnemonic(call), n, false, false, call.text);
}

// Results go only into variables of their kind.
void SetIntResult(const CommandCall& call, int n, int32_t value) {
  if (IsIntVarParam(Mnemonic(call), n)) ParamIntVar(n) = value;
}
void SetTextResult(const CommandCall& call, int n, std::string_view value) {
  if (IsStringVarParam(Mnemonic(call), n)) SetStringVariable(ParamVarIndex(n), value);
}

int32_t HandleValue(uint32_t hwnd) {
  return static_cast<int32_t>(hwnd);
}

int Width(const platform::Rect& rect) {
  return rect.right - rect.left;
}
int Height(const platform::Rect& rect) {
  return rect.bottom - rect.top;
}

// GetParent for the windows a script can name: a panel's owner, a control's panel; none
// for the main window and for anything else.
uint32_t ParentOf(uint32_t hwnd) {
  if (hwnd == platform::kNoWindow) return platform::kNoWindow;
  for (int panel = 1; panel <= kMaxPanels; ++panel) {
    const platform::Dialog* dialog = PanelDialog(panel);
    if (!dialog) continue;
    if (dialog->Handle() == hwnd) return dialog->Owner();
    for (const int id : dialog->ControlIds()) {
      if (dialog->ControlHandle(id) == hwnd) return dialog->Handle();
    }
  }
  return platform::kNoWindow;
}

int ExecQC(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumbers(call, {1, 2});
  if (!PanelNumberInRange(call, 1, 0)) return 0;
  if (!ControlNumberChecked(call, 2)) return 0;
  const int panel = ParamValue(1);
  const int id = ParamValue(2);
  const platform::Dialog* dialog = ExistingPanel(call, panel);
  const bool exists = ExistingControl(call, dialog, id);
  SetIntResult(call, 3, exists ? HandleValue(dialog->ControlHandle(id)) : 0);
  return 0;
}

int ExecQD(const CommandCall& call) {
  GetArguments(call.text, 2);
  SetIntResult(call, 1, 0);
  SetIntResult(call, 2, 0);
  const platform::Rect screen = platform::DesktopWindowRect();
  SetIntResult(call, 1, Width(screen));
  SetIntResult(call, 2, Height(screen));
  return 0;
}

int ExecQH(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumbers(call, {1});
  const int32_t panel = ParamValue(1);
  if (panel < 0 || panel > kMaxPanels) {
    SetIntResult(call, 2, 0);
    ReportParamRange(Mnemonic(call), 1, call.text);
    ReportWarning(Mnemonic(call), "Resetting query handle to zero.");
    return 0;
  }
  if (panel == 0) {
    SetIntResult(call, 2, HandleValue(g_hwndMain));
    return 0;
  }
  const platform::Dialog* dialog = ExistingPanel(call, panel);
  SetIntResult(call, 2, dialog ? HandleValue(dialog->Handle()) : 0);
  return 0;
}

int ExecQP(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumbers(call, {1});
  SetIntResult(call, 2, HandleValue(ParentOf(static_cast<uint32_t>(ParamValue(1)))));
  return 0;
}

// QS P: the outer size of a panel's window.
void QueryPanelSize(const CommandCall& call) {
  CheckNumbers(call, {2});
  if (!CheckParamRange(call, 2, 0, kMaxPanels)) return;
  const platform::Dialog* dialog = PanelDialog(ParamValue(2));
  const platform::Rect frame = dialog ? dialog->WindowRect() : platform::Rect{};
  SetIntResult(call, 3, Width(frame));
  SetIntResult(call, 4, Height(frame));
}

int ExecQS(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckStringParam(Mnemonic(call), 1, false, false, call.text);
  switch (ParamText(1)[0]) {
    case 'D':
      SetTextResult(call, 2, Format("Compiled : %s - %s", kBuildDate, kBuildTime));
      break;
    case 'K':
      SetIntResult(call, 2, kOemCodePage);
      break;
    case 'M':
      SetIntResult(call, 2, kIntegerMemoryCount);
      SetIntResult(call, 3, kStringMemoryCountReported);
      break;
    case 'P':
      QueryPanelSize(call);
      break;
    case 'T':
      SetIntResult(call, 2, static_cast<int32_t>(GetTickCount()));
      break;
    case 'V':
      SetTextResult(call, 2, kVersion);
      break;
    default:
      ReportWarning(Mnemonic(call), "Unsuported parameter.");
      break;
  }
  return 0;
}

constexpr CommandEntry kRows[] = {
    {"QC", ExecQC}, {"QD", ExecQD}, {"QH", ExecQH}, {"QP", ExecQP}, {"QS", ExecQS},
};

}  // namespace

const CommandTable kQueryCommands = kRows;

}  // namespace velcrum
