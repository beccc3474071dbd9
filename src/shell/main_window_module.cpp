// The main window's module.
#include "shell/main_window_module.h"

#include "shell/debug_switch_command.h"
#include "shell/message_window_command.h"
#include "shell/window_arrangement_commands.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kWindowArrangementCommands, kDebugSwitchCommand,
                                kMessageWindowCommand};

void ResetMainWindowCommands() {
  ResetWindowArrangement();
  CloseMessageWindow();
}

}  // namespace

const Module kMainWindowModule = {
    .name = "main window",
    .commands = kGroups,
    .reset = ResetMainWindowCommands,
};

}  // namespace velcrum
