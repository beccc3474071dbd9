// VLWndProc: what the main window does with each message. It only decides where a message
// goes; the work is done by the shell's operations and the subsystems' handlers.
//
// Qt draws the window frame itself and sends no non-client messages, so the rows for
// WM_SETCURSOR, WM_GETMINMAXINFO, WM_NCACTIVATE and WM_NCLBUTTONDOWN have nothing to
// handle here: the maximum size is set on the widget when the window is placed on the
// desktop (main_window.cpp), and the title-bar drag lock belongs to the window manager.
#include <string_view>

#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "network/kal_messages.h"
#include "network/net_link.h"
#include "platform/desktop/desktop.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "runtime/timers.h"
#include "runtime/variables_shortcut.h"
#include "shell/instance_limits.h"
#include "shell/main_window.h"
#include "shell/message_window_command.h"
#include "shell/sections.h"
#include "shell/shell_menu.h"
#include "shell/shutdown.h"
#include "shell/startup.h"

namespace velcrum {
namespace {

using platform::Message;
using platform::Result;

constexpr uint32_t WM_ERASEBKGND = 20;
constexpr uint32_t MM_MCINOTIFY = 953;
void OnKeyboard(const Message& message) {
  OfferToModules(message);
  if (CompletesVariablesShortcut(message)) OnMenuCommand(kMenuShowVariables);
}

void OnTimer(const Message& message) {
  switch (message.wParam) {
    case kFinalCloseTimer:
      FinalCloseStep();
      break;
    case kQueueDrainTimer:
      VLNetSup_Pump();
      break;
    case kInstanceLimitTimer:
      CloseOneSurplusCopy(100);
      if (platform::Window* window = MainWindow()) window->KillTimer(kInstanceLimitTimer);
      break;
    case kMessageWindowTimer:
      OnMessageWindowTimer();
      break;
    default:
      // The script timers go to the first panel, the others to their subsystems.
      OfferToModules(message);
      break;
  }
}

Result OnCloseRequest(const Message& message) {
  const bool fromAnother = message.wParam != message.hwnd && g_bRemoteCloseAllowed;
  if (!fromAnother && message.wParam != 0) return 0;
  MainCloseDown();
  return static_cast<Result>(kClosedownAccepted);
}

}  // namespace

Result VLWndProc(const Message& message) {
  if (VLNetSup_IsNetworkMessage(message.message)) return VLNetSup_Accept(message);
  switch (message.message) {
    case platform::WM_CLOSE:
      DebugOut("VLWndProc() received WM_CLOSE");
      MainCloseDown();
      return 0;
    case WM_ERASEBKGND:
      RepaintMainWindow();
      return 0;
    case platform::WM_ACTIVATEAPP:
      if (g_bFirstActivation) {
        g_bFirstActivation = false;
      } else {
        platform::Post(message.hwnd, Message::Plain(KAL_ACTIVATEAPP, message.wParam));
      }
      return 0;
    case platform::WM_COPYDATA:
      VLNetSup_OnCopyData(message.hwnd, message.wParam, message);
      return 1;
    case platform::WM_KEYDOWN:
    case platform::WM_KEYUP:
    case platform::WM_CHAR:
    case platform::WM_SYSKEYDOWN:
    case platform::WM_SYSKEYUP:
      OnKeyboard(message);
      return 0;
    case platform::WM_COMMAND:
      OnMenuCommand(message.wParam & 0xFFFF);
      return 0;
    case platform::WM_TIMER:
      OnTimer(message);
      return 0;
    case platform::WM_LBUTTONDOWN:
      OfferToModules(message);
      return 1;
    case platform::WM_RBUTTONDOWN:
      ShowPopupMenu();
      return 0;
    case MM_MCINOTIFY:
      OfferToModules(message);
      return 0;
    case KAL_CLOSEDOWN:
      return OnCloseRequest(message);
    case kMsgCloseSurplusCopies:
      OnCloseSurplusCopies(message.wParam);
      return 0;
    case kMsgRunLine:
      OfferToModules(message);
      TimeStamp("13e1 - running wParam");
      RunLine(static_cast<int>(message.wParam), 0);
      return 0;
    case KAL_NXI_HANDLE:
      g_hwndNxi = message.wParam;
      return 0;
    case KAL_DRIVER_HANDLE:
      g_hwndConnectCandidate = message.wParam;
      return 0;
    case KAL_ACTIVATEAPP:
      OnActivateApp(message.wParam);
      return 0;
    case KAL_RXMESSAGE:
      return 0;
    case kMsgFinalClose:
      FinalCloseStep();
      return 0;
    case kMsgSetParameter:
      SetStartParameter(message.data);
      return 0;
    case kMsgCloseDown:
      MainCloseDown();
      return 0;
    case kMsgRunCloseDown:
      RunCloseDownSectionOnRequest();
      return 0;
    case kMsgProbe:
      return static_cast<Result>(kProbeAnswer);
    case KAL_VELCRUM_STARTUP:
      OnDelayedStartup();
      return 0;
    case kMsgDrainQueues:
      VLNetSup_OnDrainRequest();
      return 0;
    case kMsgMessageWindowDone:
      OnMessageWindowDone(message.wParam != 0);
      return 0;
    case kMsgKeyEvent:
      OfferToModules(message);
      return 0;
    default:
      return 0;
  }
}

}  // namespace velcrum
