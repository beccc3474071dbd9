// The panel commands. Panel numbers follow the addressing rules of the panel table; PM and
// PZ also take panel 0, the main window.
#include "panels/panel_commands.h"

#include <string>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "panels/panel_table.h"
#include "runtime/bound_resources.h"

namespace velcrum {
namespace {

constexpr int kMaxWindowSize = 32000;

void ReportMissingPanel(const CommandCall& call, int panel) {
  ReportError(Mnemonic(call), Format("Panel does not exist, panel number: %d", panel));
}

int ExecPI(const CommandCall& call) {
  GetArguments(call.text, 1);
  if (!PanelNumberInRange(call, 1)) return 0;
  const int panel = ParamValue(1);
  if (!PanelDialog(panel)) PanelCreate(panel);
  return 0;
}

int ExecPS(const CommandCall& call) {
  GetArguments(call.text, 1);
  if (!PanelNumberInRange(call, 1)) return 0;
  const int panel = ParamValue(1);
  // Whatever the new dialog's controls send while it is made and shown runs nothing.
  WithPanelShowGuard([panel] {
    g_iCurrentPanel = panel;
    if (!PanelDialog(panel)) PanelCreate(panel);
    if (platform::Dialog* dialog = PanelDialog(panel)) {
      dialog->Show(platform::ShowCommand::kShow);
      dialog->Update();
    }
  });
  return 0;
}

int ExecPR(const CommandCall& call) {
  GetArguments(call.text, 1);
  if (!PanelNumberInRange(call, 1)) return 0;
  const int panel = ParamValue(1);
  platform::Dialog* dialog = ExistingPanel(call, panel);
  if (!dialog) return 0;
  dialog->Show(platform::ShowCommand::kHide);
  g_bPanelFocusMark[panel] = false;
  return 0;
}

int ExecPD(const CommandCall& call) {
  GetArguments(call.text, 1);
  if (!PanelNumberInRange(call, 1)) return 0;
  const int panel = ParamValue(1);
  platform::Dialog* dialog = PanelDialog(panel);
  if (!dialog) return 0;
  dialog->Show(platform::ShowCommand::kHide);
  PanelDestroy(panel);
  g_bPanelFocusMark[panel] = false;
  return 0;
}

int ExecPM(const CommandCall& call) {
  GetArguments(call.text, 3);
  if (!PanelNumberInRange(call, 1, 0)) return 0;
  const int panel = ParamValue(1);
  const int x = ParamValue(2);
  const int y = ParamValue(3);
  bool moved;
  if (panel == 0) {
    moved = TheHost().MoveMainWindow(x, y);
  } else if (platform::Dialog* dialog = PanelDialog(panel)) {
    dialog->Move(x, y);
    moved = true;
  } else {
    moved = false;
  }
  if (!moved) ReportMissingPanel(call, panel);
  return 0;
}

int ExecPZ(const CommandCall& call) {
  GetArguments(call.text, 3);
  if (!PanelNumberInRange(call, 1, 0)) return 0;
  const int panel = ParamValue(1);
  const int width = ParamValue(2);
  const int height = ParamValue(3);
  DebugOut(Format("Panel Size =%d x=%d y=%d", panel, width, height));
  const auto inRange = [](int size) { return size >= 1 && size <= kMaxWindowSize; };
  if (inRange(width) && inRange(height)) {
    TheHost().SetMainWindowMaximumSize(width, height);
  } else {
    if (!inRange(width)) ReportParamRange(Mnemonic(call), 2, call.text);
    if (!inRange(height)) ReportParamRange(Mnemonic(call), 3, call.text);
  }
  bool resized;
  if (panel == 0) {
    resized = TheHost().ResizeMainWindow(width, height);
  } else if (platform::Dialog* dialog = PanelDialog(panel)) {
    dialog->Resize(width, height);
    resized = true;
  } else {
    resized = false;
  }
  if (!resized) ReportMissingPanel(call, panel);
  return 0;
}

int ExecPV(const CommandCall& call) {
  GetArguments(call.text, 3);
  if (!CheckParamRange(call, 1, 0, 1)) return 0;
  if (!PanelNumberInRange(call, 2)) return 0;
  if (!CheckParamLength(call, 3)) return 0;
  const int mode = ParamValue(1);
  const int panel = ParamValue(2);
  const std::string iconName = ParamText(3);

  platform::Dialog* dialog = ExistingPanel(call, panel);
  if (!dialog) return 0;
  if (mode == 1) {
    dialog->Show(platform::ShowCommand::kRestore);
  } else if (mode == 0) {
    dialog->Show(platform::ShowCommand::kMinimiseNoActivate);
    std::string icon;
    if (BoundResources().LoadIcon(iconName, icon)) {
      dialog->DrawImage(2, 2, icon);
      dialog->SetTitle(iconName);
    }
  }
  return 0;
}

constexpr CommandEntry kRows[] = {
    {"PD", ExecPD}, {"PI", ExecPI}, {"PM", ExecPM}, {"PR", ExecPR},
    {"PS", ExecPS}, {"PV", ExecPV}, {"PZ", ExecPZ},
};

}  // namespace

const CommandTable kPanelCommands = kRows;

}  // namespace velcrum
