// The V commands drive the MCI device "overlay" with fixed command strings, one value
// filled in each, and hand a control's window to the site's video capture application
// (VE). Nothing waits for the device and no MCI result is looked at, except the answer
// to VF's question for the overlay window, which VF then lays over the control.
//
// VD and VE tell the capture application about a control by posting message 0xC03C to
// every top-level window; what it does with it is its own affair.
#include "peripherals/video_commands.h"

#include <algorithm>
#include <cerrno>
#include <string>
#include <string_view>

#include "interpreter/arguments.h"
#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "interpreter/parameter_checks.h"
#include "platform/ascii_case.h"
#include "platform/desktop/message.h"
#include "platform/mci.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "runtime/configuration_files.h"
#include "runtime/log_file.h"
#include "runtime/program_start.h"

namespace velcrum {

uint32_t g_hOverlayWindow = 0;

namespace {

constexpr uint32_t kCaptureApplicationMessage = 0xC03C;
constexpr size_t kStatusReplySize = 256;
constexpr size_t kApplicationPathSize = 129;  // at most 128 characters
constexpr std::string_view kNoApplication = "NONE";
// WinExec's results below 32 are failures.
constexpr int kWinExecFailedBelow = 31;

std::string_view Text(int n) {
  return {ParamText(n), static_cast<size_t>(ParamTextLength(n))};
}

void Send(const std::string& command) {
  MciSendString(command, nullptr, 0, 0);
}

void LogAndSend(const std::string& command) {
  WriteLogLine(command);
  Send(command);
}

// Checks the numeric parameters 1 to count.
void CheckNumbers(const CommandCall& call, int count) {
  for (int n = 1; n <= count; ++n) CheckNumericParam(Mnemonic(call), n, false, false, call.text);
}

// A panel outside 1 to 64 is reported as parameter 1 and ends the command; a control
// outside 1 to 32766 is reported as its own parameter and the command goes on (unless
// inspection is strict).
bool PanelInRange(const CommandCall& call, int32_t panel) {
  if (panel >= 1 && panel <= 64) return true;
  ReportParamRange(Mnemonic(call), 1, call.text);
  return false;
}
bool ControlInRange(const CommandCall& call, int n) {
  return CheckParamRange(call, n, 1, 32766);
}

// The program VELCRUM.INI names in [System] VideoCaptureApplication. The first time it is
// missing, "overlay.exe" is written there as a template to fill in, and "NONE" used.
std::string VideoCaptureApplication() {
  const std::string ini = VelcrumIniPath();
  const std::string application = GetPrivateProfileString(
      "System", "VideoCaptureApplication", kNoApplication, kApplicationPathSize, ini);
  if (application == kNoApplication) {
    WriteBack("System", "VideoCaptureApplication", "overlay.exe", ini);
  }
  return application;
}

// The code WinExec gives for a program that could not be started.
int WinExecError(int error) {
  switch (error) {
    case ENOENT:
      return 2;
    case ENOTDIR:
      return 3;
    case ENOEXEC:
      return 11;
    case ENOMEM:
      return 0;
    default:
      return 5;  // ERROR_ACCESS_DENIED, and whatever else stops a start
  }
}

void ReportWinExecFailure(int code) {
  const char* name = g_instanceName.c_str();
  switch (code) {
    case 0:
      DebugOut(Format("<%s> VE: WinExec failed, out of memory.\n", name));
      break;
    case 11:
      DebugOut(Format("<%s> VE: WinExec failed, bad format.\n", name));
      break;
    case 2:
      DebugOut(Format("<%s> VE: WinExec failed, file not found.\n", name));
      break;
    case 3:
      DebugOut(Format("<%s> VE: WinExec failed, path not found.\n", name));
      break;
    default:
      DebugOut("");
  }
}

}  // namespace

void CloseVideoOverlay() {
  Send("close overlay");
  g_hOverlayWindow = 0;
}

int ExecVA(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  CheckStringParam(Mnemonic(call), 2, false, false, call.text);
  CheckNumericParam(Mnemonic(call), 3, false, false, call.text);
  if (!CheckParamLength(call, 2)) return 0;
  const std::string attribute = UpperAsciiText(Text(2));
  const int32_t value = std::clamp<int32_t>(ParamValue(3), 0, 255);
  const char* format = nullptr;
  if (attribute == "BRIGHTNESS") format = "setvideo overlay brightness to %d";
  if (attribute == "CONTRAST") format = "setvideo overlay contrast to %d";
  if (attribute == "COLOUR") format = "setvideo overlay color to %d";
  if (attribute == "TINT") format = "setvideo overlay tint to %d";
  if (format) Send(Format(format, value));
  return 0;
}

int ExecVC(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumbers(call, 2);
  Send(Format("set overlay channel to %d", ParamValue(2)));
  return 0;
}

int ExecVS(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumbers(call, 2);
  LogAndSend(Format("setvideo overlay source to %d", ParamValue(2)));
  return 0;
}

int ExecVF(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumbers(call, 3);
  const int32_t panel = ParamValue(2);
  const int32_t control = ParamValue(3);
  if (!PanelInRange(call, panel)) return 0;
  if (!ControlInRange(call, 3)) return 0;
  const PanelControlWindow window = TheHost().FindPanelControlWindow(call, panel, control);
  if (g_hOverlayWindow != 0) CloseVideoOverlay();
  Send(Format("open overlay parent %u style child", window.handle));
  std::string reply;
  if (MciSendString("status overlay window handle", &reply, kStatusReplySize, 0) == 0) {
    g_hOverlayWindow = static_cast<uint32_t>(ReadDecimal(reply));
    TheHost().MoveWindow(g_hOverlayWindow, 0, 0, window.width, window.height);
  }
  Send("window overlay state show");
  return 0;
}

int ExecVR(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  CheckStringParam(Mnemonic(call), 2, false, false, call.text);
  if (!CheckParamLength(call, 2)) return 0;
  const std::string file = ScriptPathToWindows(Text(2));
  LogAndSend("freeze overlay");
  LogAndSend(Format("load overlay %s at 1 1 100 100  type 14", file.c_str()));
  return 0;
}

int ExecVW(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  CheckStringParam(Mnemonic(call), 2, false, false, call.text);
  CheckNumericParam(Mnemonic(call), 3, false, false, call.text);
  if (!CheckParamLength(call, 2)) return 0;
  if (!PanelInRange(call, ParamValue(1))) return 0;
  const std::string file = ScriptPathToWindows(Text(2));
  LogAndSend(Format("save overlay %s at 1 1 100 100 type %d", file.c_str(), ParamValue(3)));
  return 0;
}

int ExecVD(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumbers(call, 2);
  if (!PanelInRange(call, ParamValue(1))) return 0;
  if (!ControlInRange(call, 2)) return 0;
  const PanelControlWindow window =
      TheHost().FindPanelControlWindow(call, ParamValue(1), ParamValue(2));
  if (window.handle != 0) {
    TheHost().PostToWindow(platform::kBroadcast, kCaptureApplicationMessage, 0);
  }
  return 0;
}

int ExecVE(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  CheckNumericParam(Mnemonic(call), 2, false, false, call.text);
  CheckStringParam(Mnemonic(call), 3, false, false, call.text);
  if (!CheckParamLength(call, 3)) return 0;
  const int32_t panel = ParamValue(1);
  const int32_t control = ParamValue(2);
  const std::string argument(Text(3));
  if (!PanelInRange(call, panel)) return 0;
  if (!ControlInRange(call, 2)) return 0;
  const std::string application = VideoCaptureApplication();
  const PanelControlWindow window = TheHost().FindPanelControlWindow(call, panel, control);
  if (window.handle != 0) {
    TheHost().PostToWindow(platform::kBroadcast, kCaptureApplicationMessage, 0);
  }
  const std::string commandLine =
      Format("%s %s %x", application.c_str(), argument.c_str(), window.handle);
  bool runtimeCopy = false;
  const pid_t pid = StartCommandLine(commandLine, runtimeCopy);
  if (pid == 0) {
    const int code = WinExecError(errno);
    if (code < kWinExecFailedBelow) ReportWinExecFailure(code);
    return 0;
  }
  AwaitProgramWindow(pid, runtimeCopy);
  return 0;
}

int ExecVI(const CommandCall& /*call*/) {
  TheHost().ShowMessageBox("Obsolete Command", "Command no longer needed for MCI controlled cards",
                           {});
  return 0;
}

namespace {

constexpr CommandEntry kRows[] = {
    {"VA", ExecVA}, {"VC", ExecVC}, {"VD", ExecVD}, {"VE", ExecVE}, {"VF", ExecVF},
    {"VI", ExecVI}, {"VP", ExecVI}, {"VR", ExecVR}, {"VS", ExecVS}, {"VW", ExecVW},
};

}  // namespace

const CommandTable kVideoCommands = kRows;

}  // namespace velcrum
