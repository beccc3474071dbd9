// The panel table and the addressing rules.
#include "panels/panel_table.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <type_traits>

#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "panels/list_backing_stores.h"
#include "panels/panel_dialog_proc.h"
#include "runtime/bound_resources.h"
#include "runtime/event_routing.h"
#include "runtime/process_state.h"

namespace velcrum {

std::unique_ptr<platform::Dialog> g_panels[kMaxPanels + 1];
VelcrumWindowHandle g_hPanelWindows[kMaxPanels + 1] = {};
int g_iFirstPanel = 0;
bool g_bPanelFocusMark[kMaxPanels + 1] = {};
bool g_bPanelShowGuard = false;
int g_iCurrentPanel = 0;
int g_iReturnKeyLine = 0;

namespace {

// The table is handed on as the 65 window handles of velcrum_extension.h, and the handles
// in it are the desktop's own.
static_assert(sizeof g_hPanelWindows / sizeof g_hPanelWindows[0] == VELCRUM_PANEL_WINDOW_COUNT);
static_assert(std::is_same_v<platform::Hwnd, VelcrumWindowHandle>);

bool InTable(int panel) {
  return panel >= 1 && panel <= kMaxPanels;
}

// A failed creation goes to the debug output and, as one line, to the system debugger.
void ReportCreationFailure(std::string text) {
  DebugOut(text);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  TheHost().SystemDebuggerOut(text);
}

}  // namespace

void PanelInit() {
  std::fill(std::begin(g_hPanelWindows), std::end(g_hPanelWindows), 0);
  g_pPanelWindowTable = g_hPanelWindows;
  for (auto& slot : g_panels) slot.reset();
  for (int panel = 1; panel <= kMaxPanels; ++panel) ReleaseListBackingStores(panel);
  for (bool& mark : g_bPanelFocusMark) mark = false;
  g_iFirstPanel = 0;
  g_bPanelShowGuard = false;
  g_iCurrentPanel = 0;
  g_iReturnKeyLine = 0;
}

int PanelCreate(int panel) {
  if (!InTable(panel) || g_panels[panel]) return 0;
  const std::string name = Format("#%d", panel);

  platform::DialogTemplate dialogTemplate;
  platform::DialogCreation created;
  if (BoundResources().LoadDialog(name, dialogTemplate)) {
    platform::DialogResources resources;
    resources.bitmap = [](std::string_view resource, std::string& bytes) {
      return BoundResources().LoadBitmap(resource, bytes);
    };
    resources.icon = [](std::string_view resource, std::string& bytes) {
      return BoundResources().LoadIcon(resource, bytes);
    };
    created = platform::CreateDialog(
        dialogTemplate, g_hwndMain,
        [panel](const platform::Message& message) { return VLPanel_DialogProc(panel, message); },
        resources);
  } else {
    created.error = platform::kErrorResourceNotFound;
  }

  if (!created.dialog) {
    const char* instance = g_instanceName.c_str();
    const auto error = static_cast<int>(created.error);
    const char* reason =
        created.error == platform::kErrorResourceNotFound ? ". Resource does not exist."
        : created.error == platform::kErrorClassNotFound  ? ". Missing Custom Control DLL."
                                                          : "";
    ReportCreationFailure(
        Format("<%s> CreateDialog FAILED. Line: %d, Panel: %d, Panel Name: '%s' (error: %d)%s\n",
               instance, g_iCurrentLine, panel, name.c_str(), error, reason));
    ReportCreationFailure(
        Format("<%s> CreateDialog FAILED. Line: %d, Panel: %d, Panel Name: '%s'\n", instance,
               g_iCurrentLine, panel, name.c_str()));
    return 0;
  }
  g_panels[panel] = std::move(created.dialog);
  g_hPanelWindows[panel] = g_panels[panel]->Handle();
  if (g_iFirstPanel == 0) g_iFirstPanel = panel;
  return 1;
}

int PanelDestroy(int panel) {
  if (!InTable(panel) || !g_panels[panel]) return 0;
  // The slot is emptied before the window goes, so that nothing the destruction sends
  // finds a half-destroyed panel.
  std::unique_ptr<platform::Dialog> dialog = std::move(g_panels[panel]);
  g_hPanelWindows[panel] = 0;
  if (g_iFirstPanel == panel) g_iFirstPanel = 0;
  dialog.reset();
  ReleaseListBackingStores(panel);
  return 1;
}

platform::Dialog* PanelDialog(int panel) {
  return InTable(panel) ? g_panels[panel].get() : nullptr;
}

int PanelOfWindow(platform::Hwnd hwnd) {
  for (int panel = 1; panel <= kMaxPanels; ++panel) {
    if (g_panels[panel] && g_panels[panel]->Handle() == hwnd) return panel;
  }
  return 0;
}

bool PanelNumberInRange(const CommandCall& call, int n, int low) {
  const int32_t panel = ParamValue(n);
  if (panel >= low && panel <= kMaxPanels) return true;
  ReportParamRange(Mnemonic(call), n, call.text);
  return false;
}

bool ControlNumberChecked(const CommandCall& call, int n) {
  return CheckParamRange(call, n, 1, kMaxControlId);
}

platform::Dialog* ExistingPanel(const CommandCall& call, int panel) {
  platform::Dialog* dialog = PanelDialog(panel);
  if (!dialog) ReportError(Mnemonic(call), Format("Panel does not exist, panel number: %d", panel));
  return dialog;
}

bool ExistingControl(const CommandCall& call, const platform::Dialog* dialog, int id) {
  if (dialog && dialog->HasControl(id)) return true;
  ReportError(Mnemonic(call), Format("Control does not exist, control number: %d", id));
  return false;
}

}  // namespace velcrum
