// The main window's module.
#include "shell/main_window_module.h"

#include "network/kal_messages.h"
#include "shell/debug_switch_command.h"
#include "shell/message_window_command.h"
#include "shell/window_arrangement_commands.h"

namespace velcrum {
namespace {

const CommandTable kGroups[] = {kWindowArrangementCommands, kDebugSwitchCommand,
                                kMessageWindowCommand};

// A click on the main window and a line run by message brings the message window up.
void OnMainWindowMessage(const platform::Message& message) {
  if (message.message == platform::WM_LBUTTONDOWN || message.message == kMsgRunLine) {
    RaiseMessageWindow();
  }
}

void ResetMainWindowCommands() {
  ResetWindowArrangement();
  CloseMessageWindow();
}

}  // namespace

const Module kMainWindowModule = {
    .name = "main window",
    .commands = kGroups,
    .reset = ResetMainWindowCommands,
    .mainWindowMessage = OnMainWindowMessage,
};

}  // namespace velcrum
