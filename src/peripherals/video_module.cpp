// The module of the video overlay commands: their command group, and the close of the
// overlay once the CLOSEDOWN section has run (a script may still use the overlay there).
// The MCI device type "overlay" itself comes with the desktop, which registers it.
#include "peripherals/video_module.h"

#include "peripherals/video_commands.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kVideoCommands};

void Reset() {
  g_hOverlayWindow = 0;
}

void ShutDown(ShutDownStep step) {
  if (step == ShutDownStep::kCloseDownSectionRun) CloseVideoOverlay();
}

}  // namespace

const Module kVideoModule = {
    .name = "video overlay",
    .commands = kGroups,
    .reset = Reset,
    .shutDown = ShutDown,
};

}  // namespace velcrum
