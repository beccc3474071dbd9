// The under-monitor displays' module.
#include "peripherals/umd_module.h"

#include "peripherals/umd_commands.h"
#include "peripherals/umd_displays.h"
#include "runtime/timers.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kUmdCommands};

void ShutDown(ShutDownStep step) {
  if (step == ShutDownStep::kLeftNxi) StopUmds();
}

void OnMainWindowMessage(const platform::Message& message) {
  if (message.message == platform::WM_TIMER && message.wParam == kUnderMonitorRotationTimer) {
    RotateUmds();
  }
}

}  // namespace

const Module kUmdModule = {
    .name = "umd",
    .commands = kGroups,
    .reset = ResetUmds,
    .shutDown = ShutDown,
    .mainWindowMessage = OnMainWindowMessage,
};

}  // namespace velcrum
