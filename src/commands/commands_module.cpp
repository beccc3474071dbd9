// The module of the string and text commands: their two command groups; they keep no
// state of their own.
#include "commands/commands_module.h"

#include "commands/string_commands.h"
#include "commands/text_commands.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kStringCommands, kTextCommands};

}  // namespace

const Module kCommandsModule = {
    .name = "strings and text",
    .commands = kGroups,
};

}  // namespace velcrum
