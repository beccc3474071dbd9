// The module of the string, text, system, error-event, extension and HTML commands: their
// command groups, the error event's timers, the libraries EX keeps loaded and the HTML
// pages still open, both let go at the reset and once the script is freed at shut-down.
#include "commands/commands_module.h"

#include "commands/error_event_command.h"
#include "commands/extension_commands.h"
#include "commands/html_commands.h"
#include "commands/kept_libraries.h"
#include "commands/string_commands.h"
#include "commands/system_commands.h"
#include "commands/text_commands.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kStringCommands,    kTextCommands,      kSystemCommands,
                                kErrorEventCommand, kExtensionCommands, kHtmlCommands};

void Reset() {
  ResetErrorEvent();
  ReleaseKeptLibraries();
  CloseHtmlPages();
}

void ShutDown(ShutDownStep step) {
  if (step != ShutDownStep::kFreed) return;
  ReleaseKeptLibraries();
  CloseHtmlPages();
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
