// The I commands: texts for infodrivers, sent through NXI as KAL_INFO_CMD with the device
// number in wParam. ID, IG and IS start file sessions; their texts carry two paths, a
// number and the main window, and NXI reports the outcome with KAL_SESSION_RESULT.
//
// A failed check ends a command only in strict inspection, unless a command says
// otherwise. A text goes out only for a device within 0 to 999.
#include <cstdio>
#include <string>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/file_reports.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/parameter_checks.h"
#include "network/device_command_text.h"
#include "network/device_commands.h"
#include "network/device_tables.h"
#include "network/kal_messages.h"
#include "platform/paths.h"
#include "runtime/process_state.h"

namespace velcrum {
namespace {

// Lines a file session may report to: 0 to 32768.
constexpr int kMaxSessionLine = 32768;

long Value(int n) {
  return static_cast<long>(ParamValue(n));
}

void CheckText(const CommandCall& call, int n) {
  CheckStringParam(Mnemonic(call), n, false, false, call.text);
}

// A text parameter longer than 255 characters is reported, and the command goes on in
// every inspection mode.
void WarnIfLong(const CommandCall& call, int n) {
  CheckParamLength(call, n);
}

void SendToInfodriver(const CommandCall& call, uint32_t wParam, const std::string& text) {
  SendCommandText(call, KAL_INFO_CMD, wParam, text);
}

// A file session's text, which also goes to the debug output as it is sent.
void SendSessionText(const CommandCall& call, int32_t device, const std::string& composed) {
  const std::string text = FrameSizedText(call, composed);
  DebugOut(text);
  SendToInfodriver(call, DeviceWParam(device), text);
}

// ID and IG (`name`): device, path 1, path 2, number. The paths are written in the script
// notation (";" for ":", "/" for "\").
int SendFileSession(const CommandCall& call, const char* name) {
  GetArguments(call.text, 4);
  CheckNumberParams(call, 1, 1);
  CheckText(call, 2);
  CheckText(call, 3);
  CheckNumberParams(call, 4, 4);
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
  WarnIfLong(call, 2);
  WarnIfLong(call, 3);
  const int32_t device = ParamValue(1);
  if (!IsSendableDevice(device)) return 0;
  SendSessionText(
      call, device,
      Format("%s %03ld %s %s %ld %04x", name, Value(1), ScriptPathToWindows(ParamView(2)).c_str(),
             ScriptPathToWindows(ParamView(3)).c_str(), Value(4), g_hwndMain));
  return 0;
}

// The range checks of IL, IP and IQ, in parameter order: the device, then indexes, then
// for IL the lock. False when the command must stop (strict inspection).
bool SlotRequestChecked(const CommandCall& call, int count) {
  CheckNumberParams(call, 1, count);
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return false;
  for (int n = 2; n <= count; ++n) {
    const int high = n == 4 ? 1 : kMaxDeviceIndex;
    if (!CheckParamRange(call, n, 0, high)) return false;
  }
  return true;
}

int ExecID(const CommandCall& call) {
  return SendFileSession(call, "ID");
}

int ExecIF(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumberParams(call, 1, 2);
  CheckText(call, 3);
  CheckText(call, 4);
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
  WarnIfLong(call, 3);
  WarnIfLong(call, 4);
  const int32_t device = ParamValue(1);
  if (!IsSendableDevice(device)) return 0;
  SendToInfodriver(call, DeviceWParam(device),
                   Format("IF %ld %ld '%s' '%s' %d", Value(1), Value(2), ParamText(3), ParamText(4),
                          Workstation()));
  return 0;
}

int ExecIG(const CommandCall& call) {
  return SendFileSession(call, "IG");
}

int ExecIH(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumberParams(call, 1, 1);
  CheckText(call, 2);
  CheckNumberParams(call, 3, 3);
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
  WarnIfLong(call, 2);
  if (!CheckParamRange(call, 3, 0, 1)) return 0;
  const int32_t device = ParamValue(1);
  const int32_t state = ParamValue(3);
  if (!IsSendableDevice(device) || (state != 0 && state != 1)) return 0;
  SendToInfodriver(call, DeviceWParam(device),
                   Format("IH %ld '%s' %ld %d", Value(1), ParamText(2), Value(3), Workstation()));
  return 0;
}

int ExecIL(const CommandCall& call) {
  GetArguments(call.text, 4);
  if (!SlotRequestChecked(call, 4) || !SendableOrReported(call, 1)) return 0;
  SendToInfodriver(
      call, DeviceWParam(ParamValue(1)),
      Format("IL %ld %ld %ld %ld %d", Value(1), Value(2), Value(3), Value(4), Workstation()));
  return 0;
}

int ExecIP(const CommandCall& call) {
  GetArguments(call.text, 3);
  if (ParamValue(1) > kMaxDevices) {
    SayDeviceAboveMax(call, ParamValue(1));
    return 0;
  }
  if (!SlotRequestChecked(call, 3) || !SendableOrReported(call, 1)) return 0;
  SendToInfodriver(call, DeviceWParam(ParamValue(1)),
                   Format("IP %ld %ld %ld %d", Value(1), Value(2), Value(3), Workstation()));
  return 0;
}

int ExecIQ(const CommandCall& call) {
  GetArguments(call.text, 3);
  if (!SlotRequestChecked(call, 3) || !IsSendableDevice(ParamValue(1))) return 0;
  SendToInfodriver(call, DeviceWParam(ParamValue(1)),
                   Format("IQ %ld %ld %ld %d", Value(1), Value(2), Value(3), Workstation()));
  return 0;
}

int ExecIS(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckText(call, 1);
  CheckNumberParams(call, 2, 2);
  CheckText(call, 3);
  CheckNumberParams(call, 4, 4);
  if (!CheckParamLength(call, 1)) return 0;
  if (!CheckParamRange(call, 2, 0, kMaxDevices)) return 0;
  if (!CheckParamLength(call, 3)) return 0;
  if (!CheckParamRange(call, 4, 0, kMaxSessionLine)) return 0;
  const std::string source = ScriptPathToWindows(ParamView(1));
  const std::string destination = ScriptPathToWindows(ParamView(3));
  if (std::FILE* file = OpenWindowsFile(source, "r")) {
    std::fclose(file);
  } else {
    ReportFileNotOpened(Mnemonic(call), 1, call.text, source);
    if (IsStrictInspection()) return 0;
  }
  const int32_t device = ParamValue(2);
  if (!IsSendableDevice(device)) return 0;
  SendSessionText(call, device,
                  Format("IS %ld %s %s %ld %04x", Value(2), source.c_str(), destination.c_str(),
                         Value(4), g_hwndMain));
  return 0;
}

int ExecIW(const CommandCall& call) {
  // A missing flag reads as 0.
  GetArguments(std::string(call.text) + " 0 ", 4);
  CheckNumberParams(call, 1, 1);
  CheckText(call, 2);
  CheckNumberParams(call, 3, 4);
  const int32_t device = ParamValue(1);
  if (!ParamInRange(call, 1, 1, kMaxDevices)) {
    if (device > kMaxDevices) {
      SayDeviceAboveMax(call, device);
      return 0;
    }
    if (IsStrictInspection()) return 0;
  }
  if (!CheckParamLength(call, 2)) return 0;
  if (!CheckParamRange(call, 3, 0, kMaxDeviceIndex)) return 0;
  if (!IsSendableDevice(device)) return 0;
  SendToInfodriver(call, DeviceWParam(device, ParamValue(4)),
                   Format("IW %ld '%s' %ld %d", Value(1), ParamText(2), Value(3), Workstation()));
  return 0;
}

constexpr CommandEntry kRows[] = {
    {"ID", ExecID}, {"IF", ExecIF}, {"IG", ExecIG}, {"IH", ExecIH}, {"IL", ExecIL},
    {"IP", ExecIP}, {"IQ", ExecIQ}, {"IS", ExecIS}, {"IW", ExecIW},
};

}  // namespace

const CommandTable kInfodriverCommands = kRows;

}  // namespace velcrum
