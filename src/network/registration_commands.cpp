// RR, GR, IR: a device's revertives run a line. The local record says what runs; the index
// range is NXI's, which is told with KAL_REGISTER_REV. RU, GU, IU cancel at NXI only: the
// local record is replaced by the next registration, never cleared.
#include "network/registration_commands.h"

#include <array>
#include <string>

#include "interpreter/arguments.h"
#include "interpreter/executor_state.h"
#include "interpreter/handler_support.h"
#include "interpreter/parameter_checks.h"
#include "network/device_command_text.h"
#include "network/device_tables.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "network/net_link.h"
#include "platform/ascii_case.h"
#include "runtime/process_state.h"

namespace velcrum {
namespace {

// The addition form: bit 15 of the device number in the request.
constexpr uint16_t kAddFlag = 0x8000;

// The integer variable a parameter names, -1 when it names none.
int32_t NamedIntegerVariable(int n) {
  return GetParamKind(n) == ParamKind::kIntegerVariable ? ParamVarIndex(n) : -1;
}

// KAL_REGISTER_REV, KAL_UNREGISTER_RANGE: the device and an index range in three 16-bit
// fields, wParam the main window.
void SendRangeRequest(uint32_t message, uint16_t device, int first, int last) {
  std::array<char, kTextFrameBytes> block{};
  PutInt16Field(block.data(), 0, device);
  PutInt16Field(block.data(), 1, static_cast<uint16_t>(first));
  PutInt16Field(block.data(), 2, static_cast<uint16_t>(last));
  SendBlockToNxi(message, g_hwndMain, block.data(), 0);
}

// A range check that is only a warning.
void WarnIfOutside(const CommandCall& call, int n, int64_t low, int64_t high) {
  const int64_t value = ParamValue(n);
  if (value < low || value > high) ReportParamRange(Mnemonic(call), n, call.text);
}

// How strictly each kind checks its registration.
enum class Kind { kRouter, kGpi, kInfodriver };

int Register(const CommandCall& call, Kind kind) {
  GetArguments(call.text, 8);
  for (int n = 1; n <= 5; ++n) CheckNumericParam(Mnemonic(call), n, false, false, call.text);
  const int32_t device = ParamValue(1);
  const int32_t first = ParamValue(2);
  const int32_t last = ParamValue(3);

  if (kind == Kind::kRouter) {
    // The router's checks only warn.
    WarnIfOutside(call, 1, 1, kMaxDevices);
    WarnIfOutside(call, 2, 0, kMaxDeviceIndex);
    WarnIfOutside(call, 3, 0, kMaxDeviceIndex);
    WarnIfOutside(call, 4, 0, MAX_SCRIPT_LINE);
  } else {
    if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
    if (!CheckParamRange(call, 2, 0, kMaxDeviceIndex)) return 0;
    if (!CheckParamRange(call, 3, 0, kMaxDeviceIndex)) return 0;
    if (kind == Kind::kInfodriver && device > kMaxDevices) {
      SayDeviceAboveMax(call, device);
      return 0;
    }
  }
  if (first <= 0 || !IsDeviceNumber(device)) return 0;

  Registration& registration = g_registrations[static_cast<size_t>(device)];
  registration.line = ParamValue(4);
  registration.offsetMode = ParamValue(5) != 0 ? 1 : 0;
  registration.indexVariable = NamedIntegerVariable(6);
  const bool addition = UpperAsciiText(ParamText(7)) == "ADD";
  registration.deviceVariable = NamedIntegerVariable(addition ? 8 : 7);

  const auto requestDevice =
      static_cast<uint16_t>(static_cast<uint16_t>(device) | (addition ? kAddFlag : 0));
  SendRangeRequest(KAL_REGISTER_REV, requestDevice, first, last);
  return 0;
}

int Cancel(const CommandCall& call) {
  // Missing indexes read as 0.
  const std::string text = std::string(call.text) + " 0 0";
  GetArguments(text, 3);
  for (int n = 1; n <= 3; ++n) CheckNumericParam(Mnemonic(call), n, false, false, call.text);
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
  if (!CheckParamRange(call, 2, 0, kMaxDeviceIndex)) return 0;
  if (!CheckParamRange(call, 3, 0, kMaxDeviceIndex)) return 0;
  const int32_t device = ParamValue(1);
  const int32_t first = ParamValue(2);
  const int32_t last = ParamValue(3);

  if (!IsDeviceNumber(device)) {
    // Every registration of this panel.
    SendNumberToNxi(KAL_UNREGISTER_DEV, g_hwndMain, 0);
    return 0;
  }
  if (first > 0 && last > 0) {
    const bool inRange = first <= kMaxDeviceIndex && last <= kMaxDeviceIndex;
    if (inRange && first <= last) {
      SendRangeRequest(KAL_UNREGISTER_RANGE, static_cast<uint16_t>(device), first, last);
      return 0;
    }
    if (first > last) ReportParamRange(Mnemonic(call), 3, call.text);
    if (!inRange) ReportParamRange(Mnemonic(call), 2, call.text);
  }
  SendNumberToNxi(KAL_UNREGISTER_DEV, g_hwndMain, device);
  return 0;
}

int ExecRR(const CommandCall& call) {
  return Register(call, Kind::kRouter);
}
int ExecGR(const CommandCall& call) {
  return Register(call, Kind::kGpi);
}
int ExecIR(const CommandCall& call) {
  return Register(call, Kind::kInfodriver);
}

constexpr CommandEntry kEntries[] = {
    {"GR", ExecGR}, {"GU", Cancel}, {"IR", ExecIR}, {"IU", Cancel}, {"RR", ExecRR}, {"RU", Cancel},
};

}  // namespace

const CommandTable kRegistrationCommands = kEntries;

}  // namespace velcrum
