// The module of the string and text commands and of the error event.
#include "commands/commands_module.h"

#include "commands/error_event_command.h"
#include "commands/string_commands.h"
#include "commands/text_commands.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kStringCommands, kTextCommands, kErrorEventCommand};

}  // namespace

const Module kCommandsModule = {
    .name = "strings and text",
    .commands = kGroups,
    .reset = ResetErrorEvent,
    .mainWindowMessage = OnErrorEventTimer,
};

}  // namespace velcrum
