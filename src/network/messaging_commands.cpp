// The X commands.
//
// Each handler reads its parameters first and takes from them everything it needs before
// it sends: a framed send waits for the driver, and lines of this panel may run meanwhile
// (a driver that is itself a panel, revertives that arrive outside synchronous mode), each
// parsing commands of its own. XC, XP, XS and XW therefore also keep the executor's place
// across the send (PlaceKeeper). Sends to a device without a connected driver go to
// window 0 and have no effect.
#include "network/messaging_commands.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/nested_run.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"
#include "network/device_tables.h"
#include "network/driver_link.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "network/net_link.h"
#include "platform/ascii_case.h"
#include "platform/desktop/desktop.h"
#include "platform/tick_count.h"
#include "runtime/process_state.h"
#include "runtime/subsystem_settings.h"

namespace velcrum {
namespace {

// The addition bit of a connect request's device number.
constexpr int32_t kAdditionBit = 0x8000;

// XT's start: a millisecond tick count, as GetTickCount gives it (32 bits, wrapping).
uint32_t g_dwStopwatchStart = 0;

bool NumberParam(const CommandCall& call, int n) {
  return CheckNumericParam(Mnemonic(call), n, false, false, call.text);
}
bool NumberTarget(const CommandCall& call, int n) {
  return CheckNumericParam(Mnemonic(call), n, true, false, call.text);
}
bool StringTarget(const CommandCall& call, int n) {
  return CheckStringParam(Mnemonic(call), n, true, false, call.text);
}

bool IsNumberKind(int n) {
  const ParamKind kind = GetParamKind(n);
  return kind == ParamKind::kNumericLiteral || kind == ParamKind::kIntegerVariable;
}
bool IsTextKind(int n) {
  const ParamKind kind = GetParamKind(n);
  return kind == ParamKind::kStringLiteral || kind == ParamKind::kStringVariable ||
         kind == ParamKind::kBareWord;
}

std::string Param(int n) {
  return {ParamText(n), static_cast<size_t>(ParamTextLength(n))};
}

// The integer variable (0 to 51) a parameter names; -1 when it is empty or names none.
int VariableOf(const CommandCall& call, int n) {
  return IsIntVarParam(Mnemonic(call), n) ? ParamVarIndex(n) : -1;
}

// A range check that ends the command whatever the inspection mode.
bool InRangeOrReport(const CommandCall& call, int n, int64_t low, int64_t high) {
  const int64_t value = ParamValue(n);
  if (value >= low && value <= high) return true;
  ReportParamRange(Mnemonic(call), n, call.text);
  return false;
}

// A range check that only warns.
void WarnOutside(const CommandCall& call, int n, int64_t low, int64_t high) {
  const int64_t value = ParamValue(n);
  if (value < low || value > high) ReportParamRange(Mnemonic(call), n, call.text);
}

uint32_t DriverWindow(int device) {
  return IsDeviceNumber(device) ? g_connectedDrivers[static_cast<size_t>(device)].window : 0;
}

void SendNumberToDriver(int device, uint32_t message, uint32_t wParam, int32_t value) {
  VLNetSup_Send(g_hwndMain, DriverWindow(device), message, wParam, value);
}

// A text of up to 512 characters in a 513-byte frame; the reply text is not wanted.
void SendTextToDriver(int device, uint32_t message, uint32_t wParam, std::string_view text) {
  std::array<char, kTextFrameBytes> frame{};
  std::memcpy(frame.data(), text.data(), std::min(text.size(), kMaxFrameText));
  VLNetSup_Send(g_hwndMain, DriverWindow(device), message, wParam, frame.data(), 0);
}

// The executor's place across a send that may run lines of this panel: everything the line
// had when the command began (its pending jump, in-sequence flag and subroutine stack) is
// put back after the send, and the executor resumes with the command after this one.
class PlaceKeeper {
 public:
  explicit PlaceKeeper(const CommandCall& call) : line_(call.line), next_(call.index + 1) {
    kept_.emplace();
  }

  // The CommandResult of a command that has sent.
  int Resume() {
    kept_.reset();
    iJumpPending = line_;
    iCmdPending = next_;
    return 1;
  }

 private:
  int line_;
  int next_;
  std::optional<NestedRun> kept_;
};

}  // namespace

int ExecXR(const CommandCall& call) {
  TraceOut("XR :IN");
  DebugOut(call.text);
  GetArguments(call.text, 8);
  for (int n = 1; n <= 5; ++n) NumberParam(call, n);
  if (!CheckParamRange(call, 1, 1, kMaxDevices) || !CheckParamRange(call, 2, 1, kMaxDeviceIndex) ||
      !CheckParamRange(call, 3, 1, kMaxDeviceIndex) ||
      !CheckParamRange(call, 4, 1, MAX_SCRIPT_LINE)) {
    return 0;
  }
  g_hwndConnectCandidate = 0;

  const int device = ParamValue(1);
  if (!IsDeviceNumber(device)) {
    ReportParamRange(Mnemonic(call), 1, call.text);
    TraceOut("XR :RETURNING");
    return 0;
  }
  const int first = ParamValue(2);
  const int last = ParamValue(3);
  const int line = ParamValue(4);
  const bool offsetMode = ParamValue(5) != 0;
  const int indexVariable = VariableOf(call, 6);
  const bool addition = UpperAsciiText(Param(7)) == "ADD";
  if (addition) DebugOut("XR : HAVE 'ADD'");
  const int deviceVariable = VariableOf(call, addition ? 8 : 7);
  DebugOut("XR : VALID");

  // The driver of the device answers during the broadcast (KAL_DRIVER_HANDLE), which makes
  // it the connect candidate.
  platform::Send(platform::kBroadcast,
                 platform::Message::Plain(KAL_DRIVER_CONNECT, g_hwndMain, device));
  const uint32_t candidate = g_hwndConnectCandidate;
  ConnectedDriver& record = g_connectedDrivers[static_cast<size_t>(device)];
  Registration& registration = g_registrations[static_cast<size_t>(device)];
  if (candidate != 0) {
    VLNetSup_Send(g_hwndMain, candidate, KAL_DRIVER_CONNECT, g_hwndMain & 0xFFFFu,
                  addition ? device | kAdditionBit : device);
    DebugOut("XR : CONNECT 1");
    record.window = candidate;
    if (addition) {
      // An existing 0 is a range not set yet.
      record.lowestIndex = record.lowestIndex == 0 ? first : std::min(record.lowestIndex, first);
      record.highestIndex = record.highestIndex == 0 ? last : std::max(record.highestIndex, last);
      SetIndexFilter(device, true);
    } else {
      record.lowestIndex = first;
      record.highestIndex = last;
    }
    // Without an answering driver the records stay as they were, the variables too.
    registration.line = line;
    registration.offsetMode = offsetMode ? 1 : 0;
    registration.indexVariable = indexVariable;
    registration.deviceVariable = deviceVariable;
    MarkIndexes(device, first, last, true);
  } else {
    TraceOut("XR : CONNECT 2, g_hTmpDxId != NULL");
  }

  if (record.window != 0) {
    DebugOut(Format("XR : Handle is %04x - rev offset = %d (%d)", record.window, registration.line,
                    line));
  } else {
    DebugOut("XR : Handle is NULL, is the Info Driver running ???");
  }
  TraceOut("XR :RETURNING");
  return 0;
}

int ExecXU(const CommandCall& call) {
  GetArguments(call.text, 3);
  for (int n = 1; n <= 3; ++n) NumberParam(call, n);
  const int device = ParamValue(1);
  int first = ParamValue(2);
  int last = ParamValue(3);
  if (first == 0 && last == 0) {
    first = 1;
    last = kMaxDeviceIndex;
  }
  if (!InRangeOrReport(call, 1, 1, kMaxDevices)) return 0;
  MarkIndexes(device, first, last, false);
  if (!AnyIndexMarked(device)) {
    VLDxSup_Disconnect(device);
    SetIndexFilter(device, false);
  }
  return 0;
}

int ExecXC(const CommandCall& call) {
  PlaceKeeper place(call);
  GetArguments(call.text, 6);
  for (int n = 1; n <= 3; ++n) NumberParam(call, n);
  const bool fourthIsText = IsTextKind(4);
  const bool fifthIsText = IsTextKind(5);
  const bool sixthIsNumber = IsNumberKind(6);

  // Parsed again with a 0 after the last parameter, so that the first missing one reads 0.
  GetArguments(std::string(call.text) + " 0", 6);
  const int device = ParamValue(1);
  const int source = ParamValue(2);
  const int destination = ParamValue(3);
  std::string tag;
  int direct = 0;
  bool trailing = sixthIsNumber;
  int number = ParamValue(6);
  if (fourthIsText) {
    tag = Param(4);
    if (IsNumberKind(5)) {
      trailing = true;
      number = ParamValue(5);
    }
  } else {
    if (fifthIsText) tag = Param(5);
    direct = ParamValue(4);
  }
  if (!IsDeviceNumber(device)) return 0;

  if (direct != 0) {
    DebugOut(Format("XC Sending message: src:%d, dest:%d", source, destination));
    SendNumberToDriver(device, KAL_DRIVER_XPOINT, static_cast<uint32_t>(destination), source);
    return place.Resume();
  }
  // The tag travels in quotes, with a leading comma.
  const std::string quoted = (tag.starts_with(",") ? "'" : "',") + tag + "'";
  std::string text = Format("XC %d %d %d", device, source, destination);
  if (trailing) {
    text += ' ' + quoted + ' ' + std::to_string(number);
  } else if (fifthIsText) {
    text += ' ' + quoted;
  }
  DebugOut(Format("XC Sending message: '%s'", text.c_str()));
  SendTextToDriver(device, KAL_DRIVER_CMD, 0, text);
  return place.Resume();
}

int ExecXS(const CommandCall& call) {
  PlaceKeeper place(call);
  GetArguments(call.text, 5);
  for (int n = 1; n <= 3; ++n) NumberParam(call, n);
  const bool fifthIsNumber = IsNumberKind(5);
  WarnOutside(call, 2, 1, kMaxDeviceIndex);
  WarnOutside(call, 3, 0, 1);
  WarnOutside(call, 4, 0, 1);
  if (fifthIsNumber) WarnOutside(call, 5, 1, kMaxDevices);
  if (!InRangeOrReport(call, 1, 1, kMaxDevices)) return 0;
  const int device = ParamValue(1);
  const int ioLine = ParamValue(2);
  const int state = ParamValue(3);
  const int number = ParamValue(5);

  if (ParamValue(4) != 0) {
    DebugOut(Format("XS Sending message: ioLine:%d, state:%d", ioLine, state));
    SendNumberToDriver(device, KAL_DRIVER_IOLINE, static_cast<uint32_t>(ioLine), state);
    return place.Resume();
  }
  const std::string text = fifthIsNumber ? Format("XS %d %d %d %d", device, ioLine, state, number)
                                         : Format("XS %d %d %d", device, ioLine, state);
  DebugOut(Format("XS Sending message: '%s'", text.c_str()));
  SendTextToDriver(device, KAL_DRIVER_CMD, 0, text);
  return place.Resume();
}

int ExecXW(const CommandCall& call) {
  PlaceKeeper place(call);
  GetArguments(call.text, 5);
  NumberParam(call, 1);
  CheckStringParam(Mnemonic(call), 2, false, false, call.text);
  NumberParam(call, 3);
  if (!CheckParamLength(call, 2)) return 0;
  const bool fourthIsNumber = IsNumberKind(4);
  const bool fifthIsNumber = IsNumberKind(5);

  // Parsed again with a 0 after the last parameter, so that a missing direct flag reads 0.
  GetArguments(std::string(call.text) + " 0", 5);
  if (!InRangeOrReport(call, 1, 1, kMaxDevices)) return 0;
  const int device = ParamValue(1);
  const std::string text = Param(2);
  const int index = ParamValue(3);

  if (ParamValue(4) != 0) {
    SendTextToDriver(device, KAL_DRIVER_WRITE, static_cast<uint32_t>(index), text);
    return place.Resume();
  }
  std::string command;
  if (fifthIsNumber) {
    command = Format("XW %d '%s' %d %d", device, text.c_str(), index, ParamValue(5));
  } else if (fourthIsNumber) {
    command = Format("XW %d '%s' %d 0 ", device, text.c_str(), index);
  } else {
    command = Format("XW %d '%s' %d ", device, text.c_str(), index);
  }
  SendTextToDriver(device, KAL_DRIVER_CMD, 0, command);
  return place.Resume();
}

int ExecXP(const CommandCall& call) {
  PlaceKeeper place(call);
  GetArguments(call.text, 3);
  for (int n = 1; n <= 3; ++n) NumberParam(call, n);
  if (!InRangeOrReport(call, 1, 1, kMaxDevices) || !InRangeOrReport(call, 2, 1, kMaxDeviceIndex) ||
      !InRangeOrReport(call, 3, 1, kMaxDeviceIndex)) {
    return 0;
  }
  const int device = ParamValue(1);
  const int first = ParamValue(2);
  const int last = ParamValue(3);
  if (first > last) {
    ReportParamRange(Mnemonic(call), 2, call.text);
    return 0;
  }
  if (DriverWindow(device) == 0) {
    ReportParamRange(Mnemonic(call), 1, call.text);
    return 0;
  }
  const std::string text =
      Format("XP %d %d %d %d", device, first, last, g_instanceSettings.workstation);
  DebugOut(Format("XP Sending message: '%s'", text.c_str()));
  SendTextToDriver(device, KAL_DRIVER_CMD, 0, text);
  return place.Resume();
}

int ExecXG(const CommandCall& call) {
  GetArguments(call.text, 3);
  NumberParam(call, 1);
  NumberParam(call, 2);
  if (!CheckStringParam(Mnemonic(call), 3, false, false, call.text)) return 0;
  if (!InRangeOrReport(call, 1, 1, kMaxDevices) || !InRangeOrReport(call, 2, 1, kMaxDeviceIndex)) {
    return 0;
  }
  const int device = ParamValue(1);
  const int index = ParamValue(2);
  const bool toVariable = IsStringVarParam(Mnemonic(call), 3);
  const int variable = ParamVarIndex(3);

  std::array<char, kTextFrameBytes> slot{};
  VLNetSup_Send(g_hwndMain, DriverWindow(device), KAL_DRIVER_READ, static_cast<uint32_t>(index),
                slot.data(), slot.size());
  if (toVariable) {
    SetStringVariable(variable,
                      std::string_view(slot.data(), strnlen(slot.data(), kMaxStringLength)));
  }
  return 0;
}

int ExecXI(const CommandCall& call) {
  GetArguments(call.text, 2);
  NumberParam(call, 1);
  NumberParam(call, 2);
  if (!InRangeOrReport(call, 1, 1, kMaxDevices) || !InRangeOrReport(call, 2, 1, MAX_SCRIPT_LINE)) {
    return 0;
  }
  ConnectedDriver& record = g_connectedDrivers[static_cast<size_t>(ParamValue(1))];
  if (record.window != 0) record.parserLine = ParamValue(2);
  return 0;
}

int ExecXN(const CommandCall& call) {
  GetArguments(call.text, 2);
  NumberParam(call, 1);
  NumberParam(call, 2);
  if (!CheckParamRange(call, 1, 1, kMaxDevices) || !CheckParamRange(call, 2, 1, MAX_SCRIPT_LINE)) {
    return 0;
  }
  const int device = ParamValue(1);
  const int line = ParamValue(2);
  if (IsDeviceNumber(device)) g_connectedDrivers[static_cast<size_t>(device)].redundancyLine = line;
  DebugOut(Format("VLXXT_RedundancyNotify = %d %d", device, line));
  if (!IsDeviceNumber(device)) return 0;

  // The answer comes back to the main window as the redundancy message it stands for.
  const platform::Result mode =
      platform::Send(DriverWindow(device), platform::Message::Plain(KAL_IDGETTXRXMODE, 0, 0))
          .value_or(0);
  if (mode == 1) {
    platform::Post(g_hwndMain, platform::Message::Plain(KAL_DEVICEIDINUSE, 0, device));
  } else if (mode == 2) {
    platform::Post(g_hwndMain, platform::Message::Plain(KAL_REQDEVGOTXRX, 0, device));
  } else {
    ReportError(Mnemonic(call), "KAL_IDGETTXRXMODE return parameter not supported value");
  }
  return 0;
}

int ExecXD(const CommandCall& call) {
  GetArguments(call.text, 5);
  if (!NumberTarget(call, 1) || !NumberTarget(call, 2) || !NumberTarget(call, 3) ||
      !StringTarget(call, 4) || !NumberTarget(call, 5) || !CheckParamLength(call, 4)) {
    return 0;
  }
  const ClientCommand& command = g_clientCommand;
  const std::string_view mnemonic = Mnemonic(call);
  if (IsIntVarParam(mnemonic, 1)) ParamIntVar(1) = command.device;
  if (IsIntVarParam(mnemonic, 2)) ParamIntVar(2) = command.index;
  if (IsIntVarParam(mnemonic, 3)) ParamIntVar(3) = command.secondValue;
  if (IsStringVarParam(mnemonic, 4)) {
    SetStringVariable(ParamVarIndex(4), std::string_view(command.text).substr(0, kMaxStringLength));
  }
  if (IsIntVarParam(mnemonic, 5)) ParamIntVar(5) = command.number;
  g_clientCommand = ClientCommand{};
  return 0;
}

int ExecXT(const CommandCall& call) {
  GetArguments(call.text, 2);
  NumberParam(call, 1);
  NumberParam(call, 2);
  if (ParamValue(1) != 0) {
    g_dwStopwatchStart = GetTickCount();
  } else if (IsIntVarParam(Mnemonic(call), 2)) {
    ParamIntVar(2) = static_cast<int32_t>(GetTickCount() - g_dwStopwatchStart);
  }
  return 0;
}

void ResetMessagingCommands() {
  g_dwStopwatchStart = 0;
}

namespace {

constexpr CommandEntry kRows[] = {
    {"XC", ExecXC}, {"XD", ExecXD}, {"XG", ExecXG}, {"XI", ExecXI}, {"XN", ExecXN}, {"XP", ExecXP},
    {"XR", ExecXR}, {"XS", ExecXS}, {"XT", ExecXT}, {"XU", ExecXU}, {"XW", ExecXW},
};

}  // namespace

const CommandTable kMessagingCommands = kRows;

}  // namespace velcrum
