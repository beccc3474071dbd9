// The module of the developer tools. The shell acts on its menu items first (check marks,
// the debug flags written to VELCRUM.INI) and then offers them here: the debug window
// follows the ShowDebugWindow switch, item 504 toggles the variables windows, 505 (Clear
// Variables) lists them anew, 501 opens the editor and the editor's own Exit closes it.
// Timer 22 refreshes the variables.
#include "tools/tools_module.h"

#include "interpreter/settings.h"
#include "runtime/menu_items.h"
#include "runtime/timers.h"
#include "tools/debug_window.h"
#include "tools/script_editor.h"
#include "tools/variables_windows.h"

namespace velcrum {
namespace {

void CloseAll() {
  CloseScriptEditor();
  CloseVariablesWindows();
  CloseDebugWindow();
}

void StartUp(StartUpStep step) {
  if (step == StartUpStep::kConfigured && g_settings.showDebugWindow) OpenDebugWindow();
}

void ShutDown(ShutDownStep step) {
  if (step == ShutDownStep::kFreed) CloseAll();
}

void OnMenuItem(uint32_t item) {
  switch (item) {
    case kMenuShowEditor:
      OpenScriptEditor();
      break;
    case kMenuShowDebugWindow:
      if (g_settings.showDebugWindow) {
        OpenDebugWindow();
      } else {
        CloseDebugWindow();
      }
      break;
    case kMenuShowVariables:
      ToggleVariablesWindows();
      break;
    case kMenuClearVariables:
      RefreshVariablesWindows();
      break;
    case kEditorExitCommand:
      CloseScriptEditor();
      break;
    default:
      break;
  }
}

void MainWindowMessage(const platform::Message& message) {
  if (message.message == platform::WM_COMMAND) {
    OnMenuItem(platform::LowWord(message.wParam));
  } else if (message.message == platform::WM_TIMER && message.wParam == kVariablesRefreshTimer) {
    RefreshVariablesWindows();
  }
}

}  // namespace

const Module kToolsModule = {
    .name = "developer tools",
    .reset = CloseAll,
    .startUp = StartUp,
    .shutDown = ShutDown,
    .mainWindowMessage = MainWindowMessage,
};

}  // namespace velcrum
