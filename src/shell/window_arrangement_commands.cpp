// EB, EC, EP and EH. The main window is the shell's; the panels are reached through the
// panel table.
#include "shell/window_arrangement_commands.h"

#include <string>

#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "panels/panel_table.h"
#include "platform/desktop/screen.h"
#include "platform/window_styles.h"
#include "runtime/process_state.h"
#include "shell/main_window.h"

namespace velcrum {
namespace {

using namespace platform;  // the WS_ style bits

constexpr int kLargestStoredSize = 32000;
// Mode 0 parks the window one pixel inside the screen's bottom right corner.
constexpr int kParkedSize = 10;

// The panel EH named last (0: none yet).
int g_iLastOrderedPanel = 0;

constexpr const char* kModeOutOfRange = "Mode parameter out of range.";

void StyleLine(int mode, uint32_t before, uint32_t after) {
  DebugOut(
      Format("<%s> EB %d, style1: %x, style2: %x", g_instanceName.c_str(), mode, before, after));
}

}  // namespace

int ExecEB(const CommandCall& call) {
  GetArguments(call.text, 4);
  const std::string_view name = Mnemonic(call);
  CheckNumericParam(name, 1, false, false, call.text);
  const int32_t mode = ParamValue(1);
  const int32_t width = ParamValue(2);
  const int32_t height = ParamValue(3);
  const std::string bitmap(ParamText(4), std::min(ParamTextLength(4), kMaxStringLength));
  MainWindowPlacement& stored = StoredMainWindowPlacement();
  if (width >= 1 && width <= kLargestStoredSize && height >= 1 && height <= kLargestStoredSize) {
    stored.width = width;
    stored.height = height;
  }
  const uint32_t before = MainWindowStyle();
  switch (mode) {
    case 0: {
      const platform::Rect screen = platform::DesktopRect();
      PlaceMainWindow(screen.right - 1, screen.bottom - 1, kParkedSize, kParkedSize);
      g_iBackgroundMode = 0;
      StyleLine(mode, before, MainWindowStyle());
      break;
    }
    case 1:
    case 2:
    case 3:
      PlaceMainWindow(stored.x, stored.y, stored.width, stored.height);
      g_iBackgroundMode = mode;
      if (mode == 1) {
        TheHost().SystemDebuggerOut(Format("<%s> EB mode:%d, X:%d, Y:%d, Width:%d, Height:%d",
                                           g_instanceName.c_str(), mode, stored.x, stored.y,
                                           stored.width, stored.height));
        StyleLine(mode, before, MainWindowStyle());
      }
      if (mode == 3) g_szBackgroundBitmap = bitmap;
      break;
    default:
      ReportWarning(name, kModeOutOfRange);
      return 0;
  }
  RepaintMainWindow();
  return 0;
}

int ExecEC(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  switch (ParamValue(1)) {
    case 0:
      ChangeMainWindowFrame(WS_CAPTION | WS_SYSMENU, 0);
      break;
    case 1:
      ChangeMainWindowFrame(0, WS_CAPTION | WS_SYSMENU);
      break;
    case 2:
      SetTitleBarDragLock(false);
      break;
    case 3:
      SetTitleBarDragLock(true);
      break;
    case 4:
      ChangeMainWindowFrame(0, WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
      break;
    case 5:
      ChangeMainWindowFrame(WS_CAPTION | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0);
      break;
    default:
      ReportWarning(Mnemonic(call), kModeOutOfRange);
      break;
  }
  return 0;
}

int ExecEP(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  switch (ParamValue(1)) {
    case 0:
      MinimiseMainWindow();
      break;
    case 1:
      MaximiseMainWindow();
      break;
    default:
      ReportParamRange(Mnemonic(call), 1, call.text);
      break;
  }
  return 0;
}

int ExecEH(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  const int32_t panel = ParamValue(1);
  const bool raise = ParamValue(2) != 0;
  if (!PanelNumberInRange(call, 1, 0)) return 0;
  if (panel == 0) {
    if (!raise) {
      LowerMainWindow();
      return 0;
    }
    RaiseMainWindow();
    for (int n = 1; n <= kMaxPanels; ++n) {
      if (platform::Dialog* dialog = PanelDialog(n)) {
        dialog->BringToTop();
        dialog->Show(platform::ShowCommand::kShow);
      }
    }
    return 0;
  }
  platform::Dialog* dialog = PanelDialog(panel);
  if (dialog == nullptr) return 0;
  if (!raise) {
    dialog->SendToBottom();
  } else {
    dialog->BringToTop();
    // Once more when the focus moves from the panel named last, so that it ends above
    // the one that was foreground before.
    if (g_iLastOrderedPanel != panel) dialog->BringToTop();
  }
  g_iLastOrderedPanel = panel;
  return 0;
}

void ResetWindowArrangement() {
  g_iLastOrderedPanel = 0;
}

namespace {

constexpr CommandEntry kRows[] = {
    {"EB", ExecEB},
    {"EC", ExecEC},
    {"EH", ExecEH},
    {"EP", ExecEP},
};

}  // namespace

const CommandTable kWindowArrangementCommands = kRows;

}  // namespace velcrum
