// The control commands. Each follows the addressing rules of the panel table: a panel out
// of range ends the command, a control out of range is reported and the command goes on
// (unless inspection is strict), a missing panel or control is reported and then nothing
// happens to it.
#include "panels/control_commands.h"

#include <algorithm>
#include <string>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/parameter_checks.h"
#include "panels/panel_table.h"
#include "runtime/bound_resources.h"
#include "runtime/event_routing.h"
#include "runtime/nxi_requests.h"

namespace velcrum {
namespace {

// The highest "last" a control range takes; a larger one counts as none.
constexpr int kMaxRangeLast = 30000;
// A fader's scroll range: 0 at the top, 255 at the bottom.
constexpr int kFaderTop = 255;
// CN's databases, and the most of a name it takes from a reply.
constexpr int kMaxNameDatabase = 9;
constexpr size_t kNameReplyBytes = 256;

void CheckNumbers(const CommandCall& call, int count) {
  for (int n = 1; n <= count; ++n) CheckNumericParam(Mnemonic(call), n, false, false, call.text);
}

// The panel and control of parameters 1 and 2 by the addressing rules: the dialog when
// both exist, else nullptr after the reports.
platform::Dialog* AddressedControl(
    const CommandCall& call, const char* missingPanel = "Panel does not exist, panel number: %d") {
  if (!PanelNumberInRange(call, 1) || !ControlNumberChecked(call, 2)) return nullptr;
  const int panel = ParamValue(1);
  platform::Dialog* dialog = PanelDialog(panel);
  if (!dialog) {
    ReportError(Mnemonic(call), Format(missingPanel, panel));
    return nullptr;
  }
  return ExistingControl(call, dialog, ParamValue(2)) ? dialog : nullptr;
}

int ExecCheck(const CommandCall& call, int state) {
  GetArguments(call.text, 2);
  CheckNumbers(call, 2);
  if (platform::Dialog* dialog = AddressedControl(call)) {
    dialog->SetCheckState(ParamValue(2), state);
  }
  return 0;
}

int ExecCC(const CommandCall& call) {
  return ExecCheck(call, 1);
}
int ExecCU(const CommandCall& call) {
  return ExecCheck(call, 0);
}

int ExecCA(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumbers(call, 3);
  if (platform::Dialog* dialog = AddressedControl(call)) {
    const int id = ParamValue(2);
    dialog->SetScrollRange(id, 0, kFaderTop, false);
    dialog->SetScrollPos(id, kFaderTop - ParamValue(3), true);
  }
  return 0;
}

// CD, CE, CH and CV: one control, or every control from first to last.
enum class RangeAction { kDisable, kEnable, kHide, kShow };

void ActOn(platform::Dialog* dialog, int id, RangeAction action) {
  if (!dialog) return;
  switch (action) {
    case RangeAction::kDisable:
    case RangeAction::kEnable:
      dialog->EnableControl(id, action == RangeAction::kEnable);
      dialog->UpdateControl(id);
      break;
    case RangeAction::kHide:
      dialog->ShowControl(id, false);
      break;
    case RangeAction::kShow:
      dialog->ShowControl(id, true);
      dialog->UpdateControl(id);
      break;
  }
}

int ControlRange(const CommandCall& call, RangeAction action) {
  // A missing "last" reads as 0.
  const std::string text = std::string(call.text) + " 0 ";
  const CommandCall padded{text, call.line, call.index};
  GetArguments(text, 3);
  CheckNumbers(padded, 3);
  if (!PanelNumberInRange(padded, 1) || !ControlNumberChecked(padded, 2)) return 0;
  const int panel = ParamValue(1);
  const int first = ParamValue(2);
  const int last = ParamValue(3) >= 1 && ParamValue(3) <= kMaxRangeLast ? ParamValue(3) : 0;
  platform::Dialog* dialog = PanelDialog(panel);
  if (!dialog) {
    ReportError(Mnemonic(call), Format("Panel does not exist, panel number: %d", panel));
  }
  const int end = last != 0 && first <= last ? last : first;
  for (int id = first; id <= end; ++id) {
    if (!dialog || !dialog->HasControl(id)) {
      ReportWarning(Mnemonic(call), Format("Control does not exist, control number: %d", id));
    }
  }
  for (int id = first; id <= end; ++id) ActOn(dialog, id, action);
  return 0;
}

int ExecCD(const CommandCall& call) {
  return ControlRange(call, RangeAction::kDisable);
}
int ExecCE(const CommandCall& call) {
  return ControlRange(call, RangeAction::kEnable);
}
// CH and CV are one command that reads its own second letter.
int ExecCH(const CommandCall& call) {
  return ControlRange(call,
                      call.text.substr(1, 1) == "H" ? RangeAction::kHide : RangeAction::kShow);
}

int ExecCF(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumbers(call, 2);
  if (platform::Dialog* dialog = AddressedControl(call)) {
    dialog->FocusControl(ParamValue(2));
    g_bPanelFocusMark[ParamValue(1)] = true;
  }
  return 0;
}

int ExecCI(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumbers(call, 3);
  platform::Dialog* dialog = AddressedControl(call);
  if (!dialog) return 0;
  const int id = ParamValue(2);
  const int newId = ParamValue(3);
  DebugOut(Format("CtrlIdChg: curId=%d", id));
  const int readBack = dialog->ChangeControlId(id, newId);
  DebugOut(Format("CtrlIdChg: curId=%d, newId=%d, rdAfterWr=%d", id, newId, readBack));
  return 0;
}

int ExecCM(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumbers(call, 4);
  if (platform::Dialog* dialog = AddressedControl(call)) {
    dialog->MoveControl(ParamValue(2), ParamValue(3), ParamValue(4));
  }
  return 0;
}

int ExecCS(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumbers(call, 4);
  if (platform::Dialog* dialog = AddressedControl(call, "Panel does not exist, PanelId: %d")) {
    dialog->ResizeControl(ParamValue(2), ParamValue(3), ParamValue(4));
  }
  return 0;
}

int ExecCT(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckStringParam(Mnemonic(call), 1, false, false, call.text);
  for (int n = 2; n <= 4; ++n) CheckNumericParam(Mnemonic(call), n, false, false, call.text);
  if (!PanelNumberInRange(call, 2)) return 0;
  const std::string text = ParamText(1);
  const int panel = ParamValue(2);
  const int first = ParamValue(3);
  const int last = ParamValue(4);
  bool failed = false;
  for (const int n : {3, 4}) {
    if (ParamValue(n) < 1 || ParamValue(n) > kMaxControlId) {
      ReportParamRange(Mnemonic(call), n, call.text);
      failed = true;
    }
  }
  if (!CheckParamLength(call, 1)) return 0;
  if (first > last) {
    ReportError(Mnemonic(call), "Min parameter is not less than Max parameter.");
    failed = true;
  }
  platform::Dialog* dialog = ExistingPanel(call, panel);
  if (dialog) ExistingControl(call, dialog, first);
  if (failed || !dialog) return 0;
  WithPanelShowGuard([&] {
    for (int id = first; id <= last; ++id) {
      DebugOut(Format("%ld %s", static_cast<long>(id), text.c_str()));
      dialog->SetControlText(id, text);
    }
  });
  return 0;
}

// CN: the names of entries first to last of a device's database, from NXI, into the
// controls from `control` on. A lookup may run lines (a revertive arriving meanwhile), so
// everything is read from the parameters first and the panel is looked up again for each
// name.
int ExecCN(const CommandCall& call) {
  GetArguments(call.text, 6);
  for (int n = 1; n <= 6; ++n) CheckNumericParam(Mnemonic(call), n, false, false, call.text);
  const int device = ParamValue(1);
  const int database = ParamValue(2);
  const int first = ParamValue(3);
  const int last = ParamValue(4);
  const int panel = ParamValue(5);
  const int control = ParamValue(6);
  bool failed = false;
  const auto failOutside = [&](int n, int low, int high) {
    if (ParamValue(n) >= low && ParamValue(n) <= high) return;
    ReportParamRange(Mnemonic(call), n, call.text);
    failed = true;
  };
  failOutside(1, 1, kMaxNxiDevice);
  failOutside(2, 0, kMaxNameDatabase);
  failOutside(3, 1, kMaxNxiIndex);
  failOutside(4, 1, kMaxNxiIndex);
  if (panel < 1 || panel > kMaxPanels) {
    ReportParamRange(Mnemonic(call), 5, call.text);
    return 0;
  }
  failOutside(6, 1, kMaxControlId);
  if (first > last) {
    ReportError(Mnemonic(call), "Min parameter is not less than Max parameter.");
    failed = true;
  }
  platform::Dialog* dialog = ExistingPanel(call, panel);
  if (dialog) ExistingControl(call, dialog, control);
  if (failed || !dialog) return 0;
  for (int index = first, id = control; index <= last; ++index, ++id) {
    const std::string name = LookUpNameAtNxi(device, database, index, kNameReplyBytes);
    platform::Dialog* current = PanelDialog(panel);
    if (!current) return 0;
    WithPanelShowGuard([&] { current->SetControlText(id, name); });
  }
  return 0;
}

int ExecCR(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckNumbers(call, 1);
  const int line = ParamValue(1);
  if (line < 1 || line > kMaxPanels) ReportParamRange(Mnemonic(call), 1, call.text);
  g_iReturnKeyLine = line;
  return 0;
}

// BP: panel, control, x offset, y offset, bitmap name. The name is the fifth parameter, in
// script notation (";" for ":", "/" for "\"), as file-like names are everywhere else.
int ExecBP(const CommandCall& call) {
  GetArguments(call.text, 5);
  CheckNumbers(call, 4);
  CheckStringParam(Mnemonic(call), 5, false, false, call.text);
  if (!CheckParamLength(call, 5)) return 0;
  std::string name = ParamText(5);
  std::replace(name.begin(), name.end(), ';', ':');
  std::replace(name.begin(), name.end(), '/', '\\');
  if (!PanelNumberInRange(call, 1)) return 0;
  const int id = ParamValue(2);
  const int x = ParamValue(3);
  const int y = ParamValue(4);
  platform::Dialog* dialog = ExistingPanel(call, ParamValue(1));
  if (!dialog || !ExistingControl(call, dialog, id)) return 0;

  // The caption names the bitmap, so that an owner-drawn button goes on drawing it. It is
  // set first: a new caption repaints the control, which would wipe the bitmap at once
  // from any other control.
  WithPanelShowGuard([&] { dialog->SetControlText(id, name); });
  std::string bitmap;
  if (BoundResources().LoadBitmap(name, bitmap)) dialog->PaintImage(id, x, y, 0, 0, bitmap);
  return 0;
}

constexpr CommandEntry kRows[] = {
    {"BP", ExecBP}, {"CA", ExecCA}, {"CC", ExecCC}, {"CD", ExecCD}, {"CE", ExecCE},
    {"CF", ExecCF}, {"CH", ExecCH}, {"CI", ExecCI}, {"CM", ExecCM}, {"CN", ExecCN},
    {"CR", ExecCR}, {"CS", ExecCS}, {"CT", ExecCT}, {"CU", ExecCU}, {"CV", ExecCH},
};

}  // namespace

const CommandTable kControlCommands = kRows;

}  // namespace velcrum
