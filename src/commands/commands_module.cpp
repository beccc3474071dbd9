// The module of the string, text and system commands: their command groups; they keep
// no state of their own.
#include "commands/commands_module.h"

#include "commands/string_commands.h"
#include "commands/system_commands.h"
#include "commands/text_commands.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kStringCommands, kTextCommands, kSystemCommands};

}  // namespace

const Module kCommandsModule = {
    .name = "strings, text and system",
    .commands = kGroups,
};

}  // namespace velcrum
