// The keyboard capture's module.
#include "peripherals/keys_module.h"

#include "interpreter/host.h"
#include "peripherals/hook_key_conversion.h"
#include "peripherals/key_capture.h"
#include "peripherals/keyboard_commands.h"
#include "peripherals/window_key_messages.h"
#include "platform/key_hook_library.h"
#include "runtime/timers.h"

namespace velcrum {
namespace {

using platform::Message;

const CommandTable kGroups[] = {kKeyboardCommands};

// Timer 23: in modes 0 and 1 the main window keeps the keyboard focus, in mode 1 also the
// foreground and the top.
void OnFocusTimer() {
  if (g_keyCapture.line == 0 || (g_keyCapture.mode != 0 && g_keyCapture.mode != 1)) return;
  TheHost().FocusMainWindow(g_keyCapture.mode == 1);
}

void OnMainWindowMessage(const Message& message) {
  switch (message.message) {
    case platform::WM_KEYDOWN:
    case platform::WM_KEYUP:
    case platform::WM_CHAR:
    case platform::WM_SYSKEYDOWN:
    case platform::WM_SYSKEYUP:
      OnCaptureWindowKey(message);
      break;
    case platform::WM_TIMER:
      if (message.wParam == kKeyboardFocusTimer) OnFocusTimer();
      break;
    case VELCRUM_KEY_HOOK_MESSAGE:
      if (g_keyCapture.line != 0) VLXKey_ConvertAscii(message.wParam, message.lParam);
      break;
    default:
      break;
  }
}

void OnShutDown(ShutDownStep step) {
  if (step == ShutDownStep::kLeftNxi) ReleaseKeyCapture();
}

}  // namespace

const Module kKeysModule = {
    .name = "keys",
    .commands = kGroups,
    .reset = ReleaseKeyCapture,
    .shutDown = OnShutDown,
    .mainWindowMessage = OnMainWindowMessage,
};

}  // namespace velcrum
