// MainCloseDown and the final step.
//
// The first call runs the CLOSEDOWN section (unless EQ 1000 asked to skip it), takes
// leave of NXI, closes every subsystem and frees the script and the memories, then
// arranges the final step: at once (FastClose, EQ 1000) or 500 ms later, during which
// messages are still dispatched but the closing-down flag stops the queue drain, WAKEUP
// and SLEEP. Every call, also after the message loop has ended, writes the closing log
// lines, which is why they appear twice in the log.
#include "shell/shutdown.h"

#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/script_store.h"
#include "interpreter/variables.h"
#include "interpreter/version.h"
#include "network/kal_messages.h"
#include "network/net_link.h"
#include "platform/desktop/desktop.h"
#include "runtime/log_file.h"
#include "runtime/module.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"
#include "runtime/timers.h"
#include "shell/configuration.h"
#include "shell/main_window.h"
#include "shell/message_window_command.h"
#include "shell/sections.h"
#include "shell/shell_menu.h"
#include "shell/support_libraries.h"

namespace velcrum {
namespace {

// NXI is told that this window leaves, and stops sending network status.
void TakeLeaveOfNxi() {
  const uint32_t self = g_hwndMain & 0xFFFF;
  if (g_networkSettings.kalNxiEnable != 0) {
    VLNetSup_Send(g_hwndMain, g_hwndNxi, KAL_CLIENT_HELLO, self, kClientHelloLeave);
  }
  if (g_hwndNxi != 0) {
    platform::Send(g_hwndNxi, platform::Message::Plain(KAL_NETMSG_UNREGISTER, self, 0));
  }
}

void StartShutDown() {
  TimeStamp("80a1 - running CLOSEDOWN");
  g_bClosingDown = true;
  PushEmptyProcFrame();
  g_bInSequence = true;
  if (!g_bQuitImmediately) RunLine(kCloseDownSectionLine, 0);
  RunShutDownStep(ShutDownStep::kCloseDownSectionRun);
  TakeLeaveOfNxi();
  RunShutDownStep(ShutDownStep::kLeftNxi);
  VLSTMSup_FreeAll();
  FreeMemories();
  RunShutDownStep(ShutDownStep::kFreed);
  if (g_config.fastClose != 0 || g_bQuitImmediately) {
    platform::Post(g_hwndMain, platform::Message::Plain(kMsgFinalClose));
  } else if (platform::Window* window = MainWindow()) {
    window->SetTimer(kFinalCloseTimer, kFinalCloseDelayMs);
  }
  TimeStamp("80a2");
}

void LogQueueHighWaterMark(const Cvorn_fifo* fifo, const char* missingTrace) {
  if (fifo == nullptr) {
    TimeStamp(missingTrace);
    return;
  }
  const std::string text = Format("<%s> %s: closing FIFO HWM: %d", g_instanceName.c_str(),
                                  fifo->GetName().c_str(), fifo->GetHighWaterMark());
  WriteLogLine(text);
  TheHost().SystemDebuggerOut(text);
}

}  // namespace

void MainCloseDown() {
  TimeStamp("80a0 - close down entry");
  if (!g_bClosingDown) StartShutDown();
  LogQueueHighWaterMark(g_pCmdFifo.get(), "80a3a2 NULL g_pCmdFifo");
  LogQueueHighWaterMark(g_pRevFifo.get(), "80a3a5 NULL g_pRevFifo");
  WriteLogLine(Format("<%s> : Version %s - Stopping.", g_instanceName.c_str(), kVersion));
  TimeStamp("80a4 - close down exit");
}

void FinalCloseStep() {
  TimeStamp("90a1 - close down enter");
  if (platform::Window* window = MainWindow()) {
    window->KillTimer(kFinalCloseTimer);
    window->KillTimer(kQueueDrainTimer);
  }
  DestroyPopupMenu();
  CloseMessageWindow();
  RunShutDownStep(ShutDownStep::kFinalStep);
  FreeBwcc();
  SaveScreenshotIfRequested();
  TimeStamp("90a2 - close down posting quit message");
  platform::PostQuit(0);
  TimeStamp("90a3 - close down exit");
}

}  // namespace velcrum
