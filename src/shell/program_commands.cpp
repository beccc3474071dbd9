// EA, EK, EU and ER.
//
// EA starts programs through the program start of runtime/program_start.h (the host's
// own processes, found and given their arguments by the drive mapping) and waits for the
// program's window there.
//
// ER runs the commands VELCRUM.INI names for rebooting and ending the session, through
// the shell (they are the administrator's command lines), and closes the program when one
// has succeeded.
#include "shell/program_commands.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "interpreter/arguments.h"
#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "interpreter/parameter_checks.h"
#include "network/kal_messages.h"
#include "platform/ascii_case.h"
#include "platform/desktop/message.h"
#include "platform/process.h"
#include "runtime/process_state.h"
#include "runtime/program_start.h"
#include "runtime/subsystem_settings.h"
#include "shell/configuration.h"
#include "shell/program_launch.h"

namespace velcrum {
namespace {

// How long ER waits for its command to finish before it takes it as under way.
constexpr int kSessionCommandWaitMs = 10000;

// What EA reads from a parameter that the appended " ~ ~ " filled in.
constexpr std::string_view kMissing = "~";

std::string_view Text(int n) {
  return {ParamText(n), static_cast<size_t>(ParamTextLength(n))};
}

// Runs one of ER's session commands through /bin/sh; true when it finished with status 0
// or is still running when the wait ends. Failures go to the debug output.
bool RunSessionCommand(const char* key, const std::string& command) {
  if (command.empty()) {
    DebugOut(Format("<%s> ER: no %s in VELCRUM.INI; nothing done", g_instanceName.c_str(), key));
    return false;
  }
  DebugOut(Format("<%s> ER: running %s '%s'", g_instanceName.c_str(), key, command.c_str()));
  const pid_t pid = StartProcess({"/bin/sh", "-c", command});
  if (pid == 0) {
    DebugOut(Format("<%s> ER: %s '%s' could not be started: %s", g_instanceName.c_str(), key,
                    command.c_str(), std::strerror(errno)));
    return false;
  }
  TheHost().DispatchMessagesUntil([pid] { return EndedProcessStatus(pid).has_value(); },
                                  kSessionCommandWaitMs);
  const std::optional<int> status = EndedProcessStatus(pid);
  ForgetProcess(pid);
  if (!status || *status == 0) return true;
  DebugOut(Format("<%s> ER: %s '%s' failed (wait status %d)", g_instanceName.c_str(), key,
                  command.c_str(), *status));
  return false;
}

}  // namespace

int ExecEA(const CommandCall& call) {
  // A parameter not given reads as "~": parameter 2 then counts as 1, parameter 3 as 0.
  const std::string padded = std::string(call.text) + " ~ ~ ";
  GetArguments(padded, 3);
  CheckStringParam(Mnemonic(call), 1, false, false, call.text);
  if (!CheckParamLength(call, 1)) return 0;
  const bool reportFailure = Text(2) == kMissing || ParamValue(2) != 0;
  const bool keepNotation = Text(3) != kMissing && ParamValue(3) != 0;
  if (Text(1).empty()) return 0;
  const LaunchPlan plan = PlanLaunch(Text(1), keepNotation, g_instanceSettings.workstation);
  DebugOut(plan.titles[0]);

  for (const std::string& title : plan.titles) {
    const uint32_t hwnd = TheHost().FindTopLevelWindow(title);
    if (hwnd == 0) continue;
    const uint32_t value = static_cast<uint32_t>(ReadDecimal(plan.arguments)) & 0xFFFFu;
    TheHost().SendTextFrame(hwnd, kMsgSetParameter, value, plan.arguments);
    TheHost().BringWindowToTop(hwnd);
    return 0;
  }
  if (plan.commandLine == kMissing) return 0;

  DebugOut(plan.commandLine);
  bool runtimeCopy = false;
  const pid_t pid = StartCommandLine(plan.commandLine, runtimeCopy);
  if (pid == 0) {
    const int error = errno;
    if (reportFailure) {
      ShowMessage(
          Format("EA Launch failure...\n'%s'\n%s", plan.commandLine.c_str(), std::strerror(error)));
    }
    return 0;
  }
  AwaitProgramWindow(pid, runtimeCopy);
  return 0;
}

int ExecEK(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  const int32_t threshold = ParamValue(1);
  if (TheHost().CloseSurplusCopy(threshold)) {
    TheHost().PostToMainWindow(kMsgCloseSurplusCopies, static_cast<uint32_t>(threshold));
  }
  return 0;
}

int ExecEU(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  g_bRemoteCloseAllowed = ParamValue(1) != 1;
  return 0;
}

int ExecER(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckStringParam(Mnemonic(call), 1, false, false, call.text);
  if (!CheckParamLength(call, 1)) return 0;
  const std::string action = UpperAsciiText(Text(1));
  bool closeDown = false;
  if (action.find("REBOOT") != std::string::npos) {
    closeDown |= RunSessionCommand("RebootCommand", g_config.rebootCommand);
  }
  if (action.find("LOGOFF") != std::string::npos || action.find("LOGOUT") != std::string::npos) {
    closeDown |= RunSessionCommand("LogoffCommand", g_config.logoffCommand);
  }
  if (action.find("KILLNXI") != std::string::npos && g_hwndNxi != 0) {
    TheHost().PostToWindow(g_hwndNxi, platform::WM_CLOSE, 0);
  }
  if (closeDown) TheHost().PostToMainWindow(KAL_CLOSEDOWN, 0);
  return 0;
}

namespace {

constexpr CommandEntry kRows[] = {
    {"EA", ExecEA},
    {"EK", ExecEK},
    {"ER", ExecER},
    {"EU", ExecEU},
};

}  // namespace

const CommandTable kProgramCommands = kRows;

}  // namespace velcrum
