// The module of the string, text, system, error-event and extension commands: their
// command groups, the error event's timers, and the libraries EX keeps loaded, released at
// the reset and once the script is freed.
#include "commands/commands_module.h"

#include "commands/error_event_command.h"
#include "commands/extension_commands.h"
#include "commands/kept_libraries.h"
#include "commands/string_commands.h"
#include "commands/system_commands.h"
#include "commands/text_commands.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kStringCommands, kTextCommands, kSystemCommands,
                                kErrorEventCommand, kExtensionCommands};

void Reset() {
  ResetErrorEvent();
  ReleaseKeptLibraries();
}

void ShutDown(ShutDownStep step) {
  if (step == ShutDownStep::kFreed) ReleaseKeptLibraries();
}

}  // namespace

const Module kCommandsModule = {
    .name = "strings, text and system",
    .commands = kGroups,
    .reset = Reset,
    .shutDown = ShutDown,
    .mainWindowMessage = OnErrorEventTimer,
};

}  // namespace velcrum
