// The R commands: crosspoints, locks, state requests and the router name databases,
// through NXI. Most format a command text that ends in the workstation number and send it
// as KAL_ROUTER_CMD with the router's device number in wParam; the name lookups are
// framed calls whose reply carries the answer. RD reads the last database notification.
#include <array>
#include <cstring>
#include <string>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"
#include "network/device_command_text.h"
#include "network/device_commands.h"
#include "network/device_tables.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "network/net_link.h"
#include "runtime/nxi_requests.h"

namespace velcrum {
namespace {

// Databases 0 to 10 of a router: 0 holds the source names that revertives show, 1 the
// destination names; 2 to 10 are looked up by a block of their own.
constexpr int kMaxDatabase = 10;
// Name lookups take the reply text back into a 256-byte buffer.
constexpr size_t kNameReplyBytes = 256;
// Where the name starts in a KAL_NAME_TO_INDEX_DB block, after its four 16-bit fields.
constexpr size_t kBlockNameOffset = 8;

long Value(int n) {
  return static_cast<long>(ParamValue(n));
}

void SendToRouter(const CommandCall& call, uint32_t wParam, const std::string& text) {
  SendCommandText(call, KAL_ROUTER_CMD, wParam, text);
}

// RP and RQ (`name`): a state request for a range of indexes; every check stops only in
// strict inspection.
int SendRangeRequest(const CommandCall& call, const char* name) {
  GetArguments(call.text, 3);
  CheckNumberParams(call, 1, 3);
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
  if (!CheckParamRange(call, 2, 0, kMaxDeviceIndex)) return 0;
  if (!CheckParamRange(call, 3, 0, kMaxDeviceIndex)) return 0;
  SendToRouter(call, DeviceWParam(ParamValue(1)),
               Format("%s %ld %ld %ld %d", name, Value(1), Value(2), Value(3), Workstation()));
  return 0;
}

int ExecRC(const CommandCall& call) {
  // Missing trailing parameters read as 0. A "$" or a "'" anywhere means a tag text before
  // the flag.
  const std::string padded = std::string(call.text) + " 0 0 ";
  const bool tagged = call.text.find_first_of("$'") != std::string_view::npos;
  GetArguments(padded, tagged ? 5 : 4);
  CheckNumberParams(call, 1, 3);
  if (!ParamInRange(call, 1, 1, kMaxDevices)) return 0;
  if (!CheckParamRange(call, 2, 0, kMaxDeviceIndex)) return 0;
  if (!CheckParamRange(call, 3, 0, kMaxDeviceIndex)) return 0;
  const std::string text =
      tagged ? Format("RC %ld %ld %ld ',%s' %d", Value(1), Value(2), Value(3), ParamText(4),
                      Workstation())
             : Format("RC %ld %ld %ld ',---' %d", Value(1), Value(2), Value(3), Workstation());
  SendToRouter(call, DeviceWParam(ParamValue(1), ParamValue(tagged ? 5 : 4)), text);
  return 0;
}

int ExecRD(const CommandCall& call) {
  GetArguments(std::string(call.text) + " 0 0 0 0", 4);
  bool allVariables = true;
  for (int n = 1; n <= 4; ++n) {
    CheckNumericParam(Mnemonic(call), n, true, false, call.text);
    allVariables = IsIntVarParam(Mnemonic(call), n) && allVariables;
  }
  if (allVariables) {
    ParamIntVar(1) = g_databaseNotification.wParam;
    ParamIntVar(2) = g_databaseNotification.high;
    ParamIntVar(3) = g_databaseNotification.low;
    ParamIntVar(4) = g_databaseNotification.queryAnswer;
  }
  g_databaseNotification = DatabaseNotification{};
  return 0;
}

int ExecRF(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckNumberParams(call, 1, 1);
  ParamInRange(call, 1, 1, kMaxDevices);  // reported; the request goes out all the same
  SendToRouter(call, DeviceWParam(ParamValue(1)), Format("RF %ld %d", Value(1), Workstation()));
  return 0;
}

int ExecRI(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumberParams(call, 1, 2);
  CheckStringParam(Mnemonic(call), 3, false, false, call.text);
  if (!CheckNumericParam(Mnemonic(call), 4, true, false, call.text)) return 0;
  if (!CheckParamLength(call, 3)) return 0;
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
  if (!CheckParamRange(call, 2, 0, kMaxDatabase)) return 0;
  if (!IsIntVarParam(Mnemonic(call), 4)) return 0;
  const int32_t device = ParamValue(1);
  const int32_t database = ParamValue(2);
  const std::string_view name = ParamView(3);
  int32_t& result = ParamIntVar(4);

  std::array<char, kTextFrameBytes> buffer{};
  if (database == 0 || database == 1) {
    std::memcpy(buffer.data(), name.data(), name.size());
    result = SendTextToNxi(KAL_NAME_TO_INDEX, DeviceWParam(device, database), buffer.data(), 0);
  } else if (database >= 2 && database <= kMaxDatabase) {
    PutInt16Field(buffer.data(), 0, static_cast<uint16_t>(device));
    PutInt16Field(buffer.data(), 1, static_cast<uint16_t>(database));
    PutInt16Field(buffer.data(), 2, 1);
    PutInt16Field(buffer.data(), 3, 0);
    // The name keeps the block's last byte for its terminator.
    const size_t kept = std::min(name.size(), kTextFrameBytes - kBlockNameOffset - 1);
    std::memcpy(buffer.data() + kBlockNameOffset, name.data(), kept);
    result = SendBlockToNxi(KAL_NAME_TO_INDEX_DB, 0, buffer.data(), kNameReplyBytes);
  }
  return 0;
}

int ExecRL(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumberParams(call, 1, 4);
  if (!ParamInRange(call, 1, 1, kMaxDevices)) return 0;
  if (!CheckParamRange(call, 2, 0, kMaxDeviceIndex)) return 0;
  if (!CheckParamRange(call, 3, 0, kMaxDeviceIndex)) return 0;
  const int32_t lock = ParamValue(4);
  if (lock != 0 && lock != 1) {
    ReportWarning(Mnemonic(call), "Lock parameter is out of range [0 or 1].");
    if (IsStrictInspection()) return 0;
  }
  SendToRouter(
      call, DeviceWParam(ParamValue(1)),
      Format("RL %ld %ld %ld %ld %d", Value(1), Value(2), Value(3), Value(4), Workstation()));
  return 0;
}

int ExecRM(const CommandCall& call) {
  GetArguments(call.text, 5);
  CheckNumberParams(call, 1, 3);
  CheckStringParam(Mnemonic(call), 4, false, false, call.text);
  CheckNumberParams(call, 5, 5);
  if (!ParamInRange(call, 1, 1, kMaxDevices)) return 0;
  ParamInRange(call, 2, 0, kMaxDatabase);  // reported only
  ParamInRange(call, 3, 0, kMaxDeviceIndex);
  if (!CheckParamLength(call, 4)) return 0;
  const std::string text = Format("RM %ld %ld %ld '%s' %ld %d", Value(1), Value(2), Value(3),
                                  ParamText(4), Value(5), Workstation());
  SendToRouter(call, DeviceWParam(ParamValue(1)), text);
  SendCommandText(call, KAL_DB_UPDATE, 0, text);
  return 0;
}

int ExecRN(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumberParams(call, 1, 3);
  if (!CheckStringParam(Mnemonic(call), 4, true, false, call.text)) return 0;
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
  if (!CheckParamRange(call, 2, 0, kMaxDatabase)) return 0;
  if (!CheckParamRange(call, 3, -1, 0xFFFF)) return 0;
  if (!CheckParamLength(call, 4)) return 0;
  const bool toVariable = IsStringVarParam(Mnemonic(call), 4);
  const int variable = ParamVarIndex(4);
  // The fields are 16 bits: index -1 asks for entry 0xFFFF.
  const std::string name = LookUpNameAtNxi(ParamValue(1), ParamValue(2),
                                           static_cast<uint16_t>(ParamValue(3)), kNameReplyBytes);
  // The debugger output, as the original wrote it: a marker line, then the name.
  TheHost().SystemDebuggerOut(">>>");
  TheHost().SystemDebuggerOut(name);
  if (toVariable) SetStringVariable(variable, name);
  return 0;
}

int ExecRP(const CommandCall& call) {
  return SendRangeRequest(call, "RP");
}

int ExecRQ(const CommandCall& call) {
  return SendRangeRequest(call, "RQ");
}

constexpr CommandEntry kRows[] = {
    {"RC", ExecRC}, {"RD", ExecRD}, {"RF", ExecRF}, {"RI", ExecRI}, {"RL", ExecRL},
    {"RM", ExecRM}, {"RN", ExecRN}, {"RP", ExecRP}, {"RQ", ExecRQ},
};

}  // namespace

const CommandTable kRouterCommands = kRows;

}  // namespace velcrum
