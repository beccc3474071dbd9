// The module of the string, text and HTML commands: their command groups, and the HTML
// pages still open finished at the reset and once the script is freed at shut-down.
#include "commands/commands_module.h"

#include "commands/html_commands.h"
#include "commands/string_commands.h"
#include "commands/text_commands.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kStringCommands, kTextCommands, kHtmlCommands};

void ShutDown(ShutDownStep step) {
  if (step == ShutDownStep::kFreed) CloseHtmlPages();
}

}  // namespace

const Module kCommandsModule = {
    .name = "strings and text",
    .commands = kGroups,
    .reset = CloseHtmlPages,
    .shutDown = ShutDown,
};

}  // namespace velcrum
