// The D commands that ask NXI about devices and the name databases and pass it requests it
// interprets: device information (DS), the network status values (DM), database lookups
// and changes (DG, DI, DE, DP) and the requests DC, DD, DR and DW. All go to NXI.
//
// Range checks end a command only in strict inspection. Result targets must be variables
// of their kind (a literal there ends the command) and are written only when they are.
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"
#include "network/device_command_text.h"
#include "network/device_commands.h"
#include "network/device_tables.h"
#include "network/kal_messages.h"
#include "network/net_frame.h"
#include "network/net_link.h"
#include "runtime/nxi_requests.h"
#include "runtime/process_state.h"

namespace velcrum {
namespace {

// Lookups take the reply text back into a 256-byte buffer.
constexpr size_t kReplyBytes = 256;
// DW's block: the device and the text's length as 16-bit fields, most significant byte
// first, then the text and its terminator.
constexpr size_t kBlockTextOffset = 4;
constexpr size_t kMaxBlockText = kTextFrameBytes - kBlockTextOffset - 1;

long Value(int n) {
  return static_cast<long>(ParamValue(n));
}

bool IntegerTarget(const CommandCall& call, int n) {
  return CheckNumericParam(Mnemonic(call), n, true, false, call.text);
}

// Parameters first to last as device numbers, 1 to 999.
bool DevicesChecked(const CommandCall& call, int first, int last) {
  for (int n = first; n <= last; ++n) {
    if (!CheckParamRange(call, n, 1, kMaxDevices)) return false;
  }
  return true;
}

// Up to `count` decimal integers separated by blanks, read as "%d %d ..." reads them:
// reading stops at the first field that is not a number, and the fields not read stay 0.
template <size_t count>
std::array<int32_t, count> ReadDecimalFields(std::string_view text) {
  std::array<int32_t, count> fields{};
  const char* at = text.data();
  const char* const end = text.data() + text.size();
  for (int32_t& field : fields) {
    while (at != end && (*at == ' ' || (*at >= '\t' && *at <= '\r'))) ++at;
    if (at != end && *at == '+') ++at;
    const std::from_chars_result read = std::from_chars(at, end, field);
    if (read.ec != std::errc()) break;
    at = read.ptr;
  }
  return fields;
}

int ExecDC(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumberParams(call, 1, 3);
  if (!DevicesChecked(call, 1, 2)) return 0;
  const std::string text = FrameSizedText(
      call, Format("DC %ld %ld --- %ld %04x", Value(2), Value(1), Value(3), g_hwndMain));
  DebugOut(text);
  SendCommandText(call, KAL_DC_CMD, DeviceWParam(ParamValue(2)), text);
  return 0;
}

int ExecDD(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumberParams(call, 1, 2);
  if (!DevicesChecked(call, 1, 2)) return 0;
  SendNumberToNxi(KAL_DD_CMD, DeviceWParam(ParamValue(1)), 0);
  return 0;
}

int ExecDE(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumberParams(call, 1, 4);
  if (!CheckParamRange(call, 1, 0, 1)) return 0;
  if (!DevicesChecked(call, 2, 3)) return 0;
  SendCommandText(call, KAL_DB_CMD, 0,
                  Format("DE %ld %ld %ld %ld", Value(1), Value(2), Value(3), Value(4)));
  return 0;
}

int ExecDG(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumberParams(call, 1, 2);
  if (!CheckStringParam(Mnemonic(call), 3, true, false, call.text)) return 0;
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
  if (!CheckParamRange(call, 2, 0, kMaxDeviceIndex)) return 0;
  if (!CheckParamLength(call, 3)) return 0;
  const bool toVariable = IsStringVarParam(Mnemonic(call), 3);
  const int variable = ParamVarIndex(3);
  std::array<char, kTextFrameBytes> buffer{};
  const std::string request = Format("DG %ld %ld", Value(1), Value(2));
  std::memcpy(buffer.data(), request.data(), request.size());
  SendTextToNxi(KAL_DB_GET, 0, buffer.data(), kReplyBytes);
  if (toVariable) SetStringVariable(variable, buffer.data());
  return 0;
}

int ExecDI(const CommandCall& call) {
  GetArguments(call.text, 5);
  CheckNumberParams(call, 1, 3);
  CheckStringParam(Mnemonic(call), 4, false, false, call.text);
  if (!IntegerTarget(call, 5)) return 0;
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
  if (!CheckParamRange(call, 2, 0, kMaxDeviceIndex)) return 0;
  if (!CheckParamRange(call, 3, 0, kMaxDeviceIndex)) return 0;
  if (!CheckParamLength(call, 4)) return 0;
  const bool toVariable = IsIntVarParam(Mnemonic(call), 5);
  int32_t& result = ParamIntVar(5);
  const std::string request = FrameSizedText(
      call, Format("DI %ld %ld %ld %s %ld", Value(1), Value(2), Value(3), ParamText(4), Value(5)));
  std::array<char, kTextFrameBytes> buffer{};
  std::memcpy(buffer.data(), request.data(), request.size());
  const int32_t index = SendTextToNxi(KAL_DB_INDEX, 0, buffer.data(), 0);
  if (toVariable) result = index;
  return 0;
}

int ExecDM(const CommandCall& call) {
  GetArguments(call.text, 4);
  for (int n = 1; n <= 4; ++n) {
    if (!IntegerTarget(call, n)) return 0;
  }
  const int32_t values[] = {g_networkStatus.device, g_networkStatus.workstation,
                            g_networkStatus.state, g_networkStatus.flags};
  for (int n = 1; n <= 4; ++n) {
    if (IsIntVarParam(Mnemonic(call), n)) ParamIntVar(n) = values[n - 1];
  }
  g_networkStatus = NetworkStatus{};
  return 0;
}

int ExecDP(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumberParams(call, 1, 4);
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
  if (!CheckParamRange(call, 2, 0, kMaxDeviceIndex)) return 0;
  if (!CheckParamRange(call, 3, 0, kMaxDeviceIndex)) return 0;
  if (!CheckParamRange(call, 4, 0, 1)) return 0;
  const std::string text = Format("DP %ld %ld %ld %ld", Value(1), Value(2), Value(3), Value(4));
  SendCommandText(call, KAL_DB_CMD, 0, text);
  SendCommandText(call, KAL_DB_UPDATE, 0, text);
  return 0;
}

int ExecDR(const CommandCall& call) {
  GetArguments(call.text, 3);
  CheckNumberParams(call, 1, 3);
  if (!DevicesChecked(call, 1, 2)) return 0;
  SendCommandText(call, KAL_DR_CMD, DeviceWParam(ParamValue(1)), call.text);
  return 0;
}

int ExecDS(const CommandCall& call) {
  GetArguments(call.text, 5);
  CheckNumberParams(call, 1, 1);
  bool targets = true;
  for (int n = 2; n <= 5; ++n) targets = IntegerTarget(call, n) && targets;
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
  for (int n = 2; n <= 5; ++n) targets = IsIntVarParam(Mnemonic(call), n) && targets;
  if (!targets) return 0;
  int32_t* results[4];
  for (int n = 2; n <= 5; ++n) results[n - 2] = &ParamIntVar(n);

  std::string information;
  std::array<int32_t, 5> fields{};
  if (DeviceInfoFromNxi(ParamValue(1), kReplyBytes, &information) != 0) {
    DebugOut(information);
    fields = ReadDecimalFields<5>(information);
  }
  // The first field is the device itself.
  for (int i = 0; i < 4; ++i) *results[i] = fields[i + 1];
  return 0;
}

int ExecDW(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumberParams(call, 1, 1);
  CheckStringParam(Mnemonic(call), 2, false, false, call.text);
  if (!CheckParamRange(call, 1, 1, kMaxDevices)) return 0;
  if (!CheckParamLength(call, 2)) return 0;
  // The block holds at most 508 characters of the text after its four bytes of fields.
  const std::string_view text = ParamView(2).substr(0, kMaxBlockText);
  const uint16_t device = static_cast<uint16_t>(ParamValue(1));
  const uint16_t length = static_cast<uint16_t>(text.size() + 1);
  std::array<char, kTextFrameBytes> block{};
  block[0] = static_cast<char>(device >> 8);
  block[1] = static_cast<char>(device & 0xFF);
  block[2] = static_cast<char>(length >> 8);
  block[3] = static_cast<char>(length & 0xFF);
  std::memcpy(block.data() + kBlockTextOffset, text.data(), text.size());
  // The length bytes, then where the block (as a whole, and as its two 16-bit halves) and
  // its text lie.
  const auto blockAt = static_cast<unsigned long>(reinterpret_cast<uintptr_t>(block.data()));
  DebugOut(Format("%04x %04x %08lx (%04x, %04x) %08lx", static_cast<unsigned>(block[2] & 0xFF),
                  static_cast<unsigned>(block[3] & 0xFF), blockAt & 0xFFFFFFFFul,
                  static_cast<unsigned>((blockAt >> 16) & 0xFFFF),
                  static_cast<unsigned>(blockAt & 0xFFFF),
                  (blockAt + kBlockTextOffset) & 0xFFFFFFFFul));
  SendBlockToNxi(KAL_DW_CMD, 0, block.data(), 0);
  return 0;
}

constexpr CommandEntry kRows[] = {
    {"DC", ExecDC}, {"DD", ExecDD}, {"DE", ExecDE}, {"DG", ExecDG}, {"DI", ExecDI},
    {"DM", ExecDM}, {"DP", ExecDP}, {"DR", ExecDR}, {"DS", ExecDS}, {"DW", ExecDW},
};

}  // namespace

const CommandTable kDeviceDatabaseCommands = kRows;

}  // namespace velcrum
