// The panel table: the dialog windows of panels 1 to 64, the first panel, the focus marks,
// the panel-show guard, the current panel and the return-key line, and the addressing
// rules every command that names a panel or a control follows.
#pragma once

#include <memory>
#include <string_view>

#include "interpreter/command_table.h"
#include "interpreter/executor_state.h"
#include "platform/dialog.h"

namespace velcrum {

inline constexpr int kMaxPanels = 64;

// Slot n holds panel n; slot 0 is never filled by a command.
extern std::unique_ptr<platform::Dialog> g_panels[kMaxPanels + 1];
// The panel window table that the extension library sees: entry n is the window handle
// of panel n's dialog, 0 while its slot is empty; entry 0 is never filled. PanelCreate,
// PanelDestroy and PanelInit keep it in step with g_panels, and PanelInit points the
// executor's g_pPanelWindowTable at it.
extern VelcrumWindowHandle g_hPanelWindows[kMaxPanels + 1];
// The panel that receives the script timers: the first panel created while none was set
// (0: none).
extern int g_iFirstPanel;
// Set by CF when it gives a control of the panel the focus; cleared by PR and PD.
extern bool g_bPanelFocusMark[kMaxPanels + 1];
// Raised while PS creates and shows a panel and while a control's text is set by a
// command: control notifications run nothing meanwhile.
extern bool g_bPanelShowGuard;
// The panel PS showed last.
extern int g_iCurrentPanel;
// The line a return-key notification runs (0: none).
extern int g_iReturnKeyLine;

// Empties every slot (destroying what they hold) and clears the first panel and the
// return-key line.
void PanelInit();
// Creates panel n from the dialog resource "#n" if its slot is empty. 1 when a panel was
// created, 0 otherwise (slot occupied, out of range, or the creation failed, which is
// reported to the debug output and the system debugger).
int PanelCreate(int panel);
// Destroys panel n if it exists. 1 when it did, 0 when the slot was empty.
int PanelDestroy(int panel);
// The dialog of panel n, or nullptr when n is outside 1 to 64 or the slot is empty.
platform::Dialog* PanelDialog(int panel);
// The panel whose dialog has this handle, 0 when none.
int PanelOfWindow(platform::Hwnd hwnd);

// Runs `action` with the panel-show guard raised, and lowers it after.
template <typename Action>
void WithPanelShowGuard(Action&& action) {
  const bool raised = g_bPanelShowGuard;
  g_bPanelShowGuard = true;
  action();
  g_bPanelShowGuard = raised;
}

// The addressing rules. Each reports with the running command's two letters.
// A panel number parameter outside low to high: ReportParamRange, false.
bool PanelNumberInRange(const CommandCall& call, int n, int low = 1);
// A control number parameter outside 1 to 32766: ReportParamRange; answers whether the
// command may go on (only strict inspection stops it).
bool ControlNumberChecked(const CommandCall& call, int n);
// The panel's dialog, or nullptr after "Panel does not exist, panel number: %d".
platform::Dialog* ExistingPanel(const CommandCall& call, int panel);
// Whether the dialog has the control; false after "Control does not exist, control
// number: %d" (a missing dialog has no controls).
bool ExistingControl(const CommandCall& call, const platform::Dialog* dialog, int id);

}  // namespace velcrum
