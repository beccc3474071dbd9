// The panels' module.
#include "panels/panels_module.h"

#include "panels/control_commands.h"
#include "panels/control_text_commands.h"
#include "panels/list_commands.h"
#include "panels/panel_commands.h"
#include "panels/panel_table.h"
#include "panels/query_commands.h"
#include "platform/dialog.h"

namespace velcrum {
namespace {

// Timers 20 to 26 are the shell's and its tools'; every other timer of the main window,
// the script timers among them, goes on to the first panel, and is lost without one.
constexpr uint32_t kFirstShellTimer = 20;
constexpr uint32_t kLastShellTimer = 26;

const CommandTable kGroups[] = {kPanelCommands, kControlCommands, kControlTextCommands,
                                kListCommands, kQueryCommands};

void StartUp(StartUpStep step) {
  if (step == StartUpStep::kScriptLoaded) PanelInit();
}

void ShutDown(ShutDownStep step) {
  if (step != ShutDownStep::kLeftNxi) return;
  for (int panel = 1; panel <= kMaxPanels; ++panel) PanelDestroy(panel);
}

void OnMainWindowMessage(const platform::Message& message) {
  if (message.message != platform::WM_TIMER) return;
  if (message.wParam >= kFirstShellTimer && message.wParam <= kLastShellTimer) return;
  if (platform::Dialog* first = PanelDialog(g_iFirstPanel)) {
    first->Post(platform::Message::Plain(platform::WM_TIMER, message.wParam, message.lParam));
  }
}

}  // namespace

const Module kPanelsModule = {
    .name = "panels",
    .commands = kGroups,
    .reset = PanelInit,
    .startUp = StartUp,
    .shutDown = ShutDown,
    .mainWindowMessage = OnMainWindowMessage,
};

}  // namespace velcrum
