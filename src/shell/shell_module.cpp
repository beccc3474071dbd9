// The shell's module.
#include "shell/shell_module.h"

#include "shell/configuration.h"
#include "shell/event_commands.h"
#include "shell/program_commands.h"
#include "shell/quit_command.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kQuitCommand, kEventCommands, kProgramCommands};

}  // namespace

const Module kShellModule = {
    .name = "shell",
    .commands = kGroups,
    .reset = ResetConfiguration,
};

}  // namespace velcrum
