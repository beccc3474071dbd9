// Numbers and texts on panel controls. A control's text is its window text, as
// GetDlgItemText reads it and SetDlgItemText writes it; setting it raises the panel-show
// guard, so the change notification the control sends back never runs its line.
#include "panels/control_text_commands.h"

#include <optional>
#include <string>

#include "interpreter/arguments.h"
#include "interpreter/decimal.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"
#include "panels/panel_table.h"
#include "runtime/event_routing.h"

namespace velcrum {
namespace {

// At most this many characters are read from a control (a 256-byte buffer, or 255 for
// the commands that keep a byte back).
constexpr size_t kControlTextRead = 255;
constexpr size_t kControlTextReadShort = 254;

void CheckNumber(const CommandCall& call, int n) {
  CheckNumericParam(Mnemonic(call), n, false, false, call.text);
}

// GetDlgItemText: empty for a missing panel or control.
std::string ReadControlText(int panel, int id, size_t maxChars) {
  const platform::Dialog* dialog = PanelDialog(panel);
  return dialog ? dialog->ControlText(id, maxChars) : std::string();
}

void WriteControlText(int panel, int id, std::string_view text) {
  platform::Dialog* dialog = PanelDialog(panel);
  if (!dialog) return;
  WithPanelShowGuard([&] { dialog->SetControlText(id, text); });
}

// The panel and control of parameters n and n + 1 checked for range and existence: a
// missing panel gives both messages. False when the command must not act on them.
bool ExistingPanelControl(const CommandCall& call, int n) {
  if (!PanelNumberInRange(call, n)) return false;
  if (!ControlNumberChecked(call, n + 1)) return false;
  const platform::Dialog* dialog = ExistingPanel(call, ParamValue(n));
  return ExistingControl(call, dialog, ParamValue(n + 1));
}

// NG's and NP's checks of the panel (parameter n) and the control (n + 1): both are only
// reported when out of range, and a panel out of range stops the command under strict
// inspection. Whether the panel is in range; nothing when the command must stop.
std::optional<bool> PanelInRangeReported(const CommandCall& call, int n) {
  const int panel = ParamValue(n);
  const bool inRange = panel >= 1 && panel <= kMaxPanels;
  if (!inRange) {
    ReportParamRange(Mnemonic(call), n, call.text);
    if (IsStrictInspection()) return std::nullopt;
  }
  const int id = ParamValue(n + 1);
  if (id < 1 || id > kMaxControlId) ReportParamRange(Mnemonic(call), n + 1, call.text);
  return inRange;
}

int ExecNG(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumber(call, 1);
  CheckNumber(call, 2);
  const std::optional<bool> panelInRange = PanelInRangeReported(call, 1);
  if (!panelInRange) return 0;
  const std::string text =
      *panelInRange ? ReadControlText(ParamValue(1), ParamValue(2), kControlTextRead) : "";
  if (IsIntVarParam(Mnemonic(call), 3)) ParamIntVar(3) = ReadDecimal(text);
  return 0;
}

int ExecNP(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumber(call, 1);
  CheckNumber(call, 2);
  CheckNumber(call, 3);
  const std::optional<bool> panelInRange = PanelInRangeReported(call, 2);
  if (!panelInRange) return 0;
  if (*panelInRange) {
    WriteControlText(ParamValue(2), ParamValue(3), Format("%ld", static_cast<long>(ParamValue(1))));
  }
  return 0;
}

int ExecTC(const CommandCall& call) {
  GetArguments(call.text, 4);
  for (int n = 1; n <= 4; ++n) CheckNumber(call, n);
  if (!PanelNumberInRange(call, 1) || !PanelNumberInRange(call, 3)) return 0;
  WriteControlText(ParamValue(3), ParamValue(4),
                   ReadControlText(ParamValue(1), ParamValue(2), kControlTextRead));
  return 0;
}

int ExecTM(const CommandCall& call) {
  GetArguments(call.text, 4);
  for (int n = 1; n <= 4; ++n) CheckNumber(call, n);
  if (!PanelNumberInRange(call, 1) || !ControlNumberChecked(call, 2)) return 0;
  if (!ExistingPanelControl(call, 3)) return 0;
  const int sourcePanel = ParamValue(1);
  const int sourceId = ParamValue(2);
  WriteControlText(ParamValue(3), ParamValue(4),
                   ReadControlText(sourcePanel, sourceId, kControlTextReadShort));
  WriteControlText(sourcePanel, sourceId, "");
  return 0;
}

int ExecTG(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumber(call, 1);
  CheckNumber(call, 2);
  if (!CheckStringParam(Mnemonic(call), 3, true, false, call.text)) return 0;
  if (!ExistingPanelControl(call, 1)) return 0;
  const std::string text = ReadControlText(ParamValue(1), ParamValue(2), kControlTextReadShort);
  if (IsStringVarParam(Mnemonic(call), 3)) SetStringVariable(ParamVarIndex(3), text);
  return 0;
}

int ExecTP(const CommandCall& call) {
  GetArguments(call.text, 3);
  // The text may as well be a number: it is put as its decimal text.
  CheckNumber(call, 2);
  CheckNumber(call, 3);
  if (!CheckParamLength(call, 1)) return 0;
  const std::string text = ParamText(1);
  if (!ExistingPanelControl(call, 2)) return 0;
  WriteControlText(ParamValue(2), ParamValue(3), text);
  return 0;
}

constexpr CommandEntry kRows[] = {
    {"NG", ExecNG}, {"NP", ExecNP}, {"TC", ExecTC}, {"TG", ExecTG}, {"TM", ExecTM}, {"TP", ExecTP},
};

}  // namespace

const CommandTable kControlTextCommands = kRows;

}  // namespace velcrum
