// The module of the string, text and extension commands: their command groups, and the
// libraries EX keeps loaded, released at the reset and once the script is freed.
#include "commands/commands_module.h"

#include "commands/extension_commands.h"
#include "commands/kept_libraries.h"
#include "commands/string_commands.h"
#include "commands/text_commands.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kStringCommands, kTextCommands, kExtensionCommands};

void ShutDown(ShutDownStep step) {
  if (step == ShutDownStep::kFreed) ReleaseKeptLibraries();
}

}  // namespace

const Module kCommandsModule = {
    .name = "strings and text",
    .commands = kGroups,
    .reset = ReleaseKeptLibraries,
    .shutDown = ShutDown,
};

}  // namespace velcrum
