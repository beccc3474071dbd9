// Entry, initialisation and the STARTUP section.
//
// Whatever fails during initialisation (a support library missing, NXI not answering)
// still runs the shut-down path, so the message loop ends through the final step as it
// does for any other close.
#include "shell/startup.h"

#include <ctime>

#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/script_random.h"
#include "interpreter/script_store.h"
#include "interpreter/variables.h"
#include "interpreter/version.h"
#include "network/kal_messages.h"
#include "network/net_link.h"
#include "panels/bound_bundle.h"
#include "platform/desktop/desktop.h"
#include "runtime/bound_resources.h"
#include "runtime/configuration_files.h"
#include "runtime/cvorn_fifo.h"
#include "runtime/instance_name.h"
#include "runtime/module.h"
#include "runtime/module_path.h"
#include "runtime/process_state.h"
#include "runtime/startup_log.h"
#include "runtime/subsystem_settings.h"
#include "runtime/timers.h"
#include "shell/configuration.h"
#include "shell/instance_limits.h"
#include "shell/main_window.h"
#include "shell/nxi_discovery.h"
#include "shell/sections.h"
#include "shell/shell_menu.h"
#include "shell/shutdown.h"
#include "shell/support_libraries.h"

namespace velcrum {
namespace {

constexpr int kCmdFifoEntries = 128;
constexpr int kRevFifoEntries = 1024;
constexpr int kFifoPayload = 1024;

// The panel's resources, from its companion resource script, for the life of the process.
RcResources g_panelResources;

std::string CurrentInstanceName(int workstation) {
  return FormInstanceName(g_modulePath, workstation,
                          g_instanceSettings.v2CompatibleVelcrumNames != 0);
}

bool LineExists(int line) {
  char text[kLineBufferSize];
  return VLSTMSup_GetMem(line, text) > 0;
}

void StartTimer(unsigned id, unsigned periodMs) {
  if (platform::Window* window = MainWindow()) window->SetTimer(id, periodMs);
}

void MarkStartUpDone() {
  bStartUpDone = true;
  StartTimer(kInstanceLimitTimer, kInstanceLimitDelayMs);
}

void RunStartup() {
  TimeStamp("13a1 - running STARTUP begin");
  if (!LineExists(kStartupSectionLine)) {
    TheHost().ShowMessageBox(
        Format("Velcrum V%s (MSVS VC6)", kVersion),
        "\nThis application has no executable startup code. Line 30000 does not exist in "
        "either a bound string table or any companion AST file.",
        {MessageBoxButtons::kOk, MessageBoxIcon::kNone, false});
    MainCloseDown();
    TimeStamp("13a3 - running STARTUP exit");
    return;
  }
  if (g_iProcStackPtr < 1) TimeStamp("13b1 - g_iProcStackPtr <= 0");
  PushEmptyProcFrame();
  g_bInSequence = true;
  if (g_config.newStartUp != 1) {
    RunLine(kStartupSectionLine, 0);
    TimeStamp("13d - ORIGINAL VELCRUM STARTUP - setting bStartUpDone=1");
    MarkStartUpDone();
  } else {
    TimeStamp("13d - NEW VELCRUM STARTUP - Post KAL_VELCRUM_STARTUP");
    platform::Post(g_hwndMain, platform::Message::Plain(KAL_VELCRUM_STARTUP));
  }
  TimeStamp("13a2 - running STARTUP done");
  TimeStamp("13a3 - running STARTUP exit");
}

std::unique_ptr<Cvorn_fifo> MakeFifo(const char* name, int entries) {
  auto fifo = std::make_unique<Cvorn_fifo>();
  fifo->Init(g_instanceName, name, kFifoPayload, entries);
  return fifo;
}

// Steps up to the discovery of NXI. False when the start-up failed.
bool PrepareProcess() {
  SupportLibraryLoad libraries = LoadSupportLibraries();
  if (libraries.extension == ExtensionCheck::kInvalid) platform::PostQuit(0);
  if (libraries.failed) return false;
  RegisterBwcc(0);
  g_pCmdFifo = MakeFifo("CmdFifo", kCmdFifoEntries);
  g_pRevFifo = MakeFifo("RevFifo", kRevFifoEntries);
  StartTimer(kQueueDrainTimer, kQueueDrainPeriodMs);
  MainWindow()->SetTitle(g_instanceName);
  return g_networkSettings.kalNxiEnable == 0 || DiscoverNxi();
}

void WriteLimitsToLog() {
  const char* name = g_instanceName.c_str();
  StartupLogLine(Format("<%s> : Panel start up is complete.", name));
  StartupLogLine(
      Format("<%s> : Maximum number of panel controls: %d (also max panel number).", name, 64));
  StartupLogLine(Format("<%s> : Maximum number of panel controls: %d (also max control number).",
                        name, 32765));
  StartupLogLine(Format("<%s> : Maximum workstation number: %d.", name, 999));
  StartupLogLine(Format("<%s> : Number of integer memories: %d.", name, kIntegerMemoryCount));
  StartupLogLine(Format("<%s> : Number of string memories: %d.", name, kStringMemoryCountReported));
  StartupLogLine(Format("<%s> : Maximum number of timers: %d.", name, 16));
  StartupLogLine(Format("<%s> : Maximum number of user variables integer: %d, strings: %d", name,
                        kVariableCount, kVariableCount));
  StartupLogLine(Format("<%s> : Maximum string size: %d", name, kStringFieldSize));
  StartupLogLine(Format("<%s> : Maximum file path length: %d", name, 256));
  StartupLogLine(Format("<%s> : Initialisation is complete.", name));
}

void Initialise() {
  ReadConfigurationGroup2();
  ApplyConfiguration();
  platform::SetSendBounds({g_config.sendTimeout, g_config.broadcastTimeout});

  bStartUpDone = false;
  g_bClosingDown = false;
  g_iBackgroundMode = 0;
  g_iProcStackPtr = -1;
  g_bInSequence = false;
  g_bFirstActivation = true;
  ResetNetLink();
  RunStartUpStep(StartUpStep::kConfigured);

  g_instanceName = CurrentInstanceName(g_instanceSettings.workstation);
  MainWindow()->SetTitle(g_instanceName);

  if (!PrepareProcess()) {
    MainCloseDown();
    return;
  }
  ShowMainWindowOnDesktop();
  SeedScriptRandom(static_cast<uint32_t>(std::time(nullptr)));
  ResetInstanceLimitRetries();
  g_bRemoteCloseAllowed = true;

  StartupLogLine(Format("<%s> : Version %s - Starting.", g_instanceName.c_str(), kVersion));
  RunStartUpStep(StartUpStep::kOnDesktop);
  AllocateMemories();
  LoadScript(BoundResources(), g_modulePath);
  BuildPopupMenu();
  ClearVariables(false);
  RunStartUpStep(StartUpStep::kScriptLoaded);
  RunStartup();

  if (g_config.debugFlags & kDebugWindowShown) {
    DebugOut(Format("<%s> : Debug Mode...\n", g_instanceName.c_str()));
    if (g_networkSettings.synchronousMode != 0) {
      DebugOut(Format("<%s> : Using synchronous message mode....\n", g_instanceName.c_str()));
    }
  }
  TheHost().SystemDebuggerOut(Format(g_panelSettings.printerSupport != 0
                                         ? "<%s> : Printer Support - ENABLED\n"
                                         : "<%s> : Printer Support - DISABLED\n",
                                     g_instanceName.c_str()));
  WriteLimitsToLog();
}

}  // namespace

int VelcrumEntry(const std::string& modulePath, const std::string& commandTail) {
  ResetStartupClock();
  AllocateMemories();
  g_modulePath = modulePath;
  g_panelResources = LoadModuleResources(modulePath);
  SetBoundResources(&g_panelResources);
  SetStartParameter(commandTail);
  ReadConfigurationGroup1();
  if (platform::FindWindow(CurrentInstanceName(ReadWorkstationNumber())) != platform::kNoWindow) {
    return 0;
  }
  if (!CreateMainWindow()) return 0;
  Initialise();
  // Panel dialogs are Qt dialogs: they see their own keyboard input first (tab order,
  // default and cancel buttons, what IsDialogMessage did on Windows) before any window
  // message is made of it, so the loop needs no dialog step of its own.
  const int exitCode = platform::RunMessageLoop();
  MainCloseDown();
  TimeStamp("25 - main closedown");
  // The loop may have ended without the final step (a quit posted during start-up).
  DestroyPopupMenu();
  DestroyMainWindow();
  SetBoundResources(nullptr);
  return exitCode;
}

void OnDelayedStartup() {
  if (g_config.newStartUp != 1) return;
  g_bInSequence = true;
  TimeStamp("13d1 - running STARTUP");
  RunLine(kStartupSectionLine, 0);
  TimeStamp("13d2 - DELAYED VELCRUM STARTUP - setting bStartUpDone=1");
  MarkStartUpDone();
}

}  // namespace velcrum
