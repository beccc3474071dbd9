// The fixed NXI requests and ES. Each waits in its framed call until NXI has answered;
// without NXI the call finds no window and returns at once with 0.
#include "network/nxi_request_commands.h"

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/variables.h"
#include "network/device_command_text.h"
#include "network/device_tables.h"
#include "network/kal_messages.h"
#include "network/net_link.h"
#include "runtime/process_state.h"

namespace velcrum {
namespace {

// WD and WE: request 2036 with sub-code 0 and 1.
constexpr uint32_t kWdSubCode = 0;
constexpr uint32_t kWeSubCode = 1;
// The lines ES may name as its result line, and the indexes it may ask about.
constexpr int kMaxResultLine = 32768;
constexpr int kMaxStatusIndex = 999;

int ExecQF(const CommandCall& call) {
  GetArguments(call.text, 0);
  SendNumberToNxi(KAL_QF, 0, 0);
  return 0;
}

int ExecWD(const CommandCall& call) {
  GetArguments(call.text, 0);
  SendNumberToNxi(KAL_WD_WE, kWdSubCode, 0);
  return 0;
}

int ExecWE(const CommandCall& call) {
  GetArguments(call.text, 0);
  SendNumberToNxi(KAL_WD_WE, kWeSubCode, 0);
  return 0;
}

int ExecWF(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckNumberParams(call, 1, 1);
  SendNumberToNxi(KAL_WF, static_cast<uint32_t>(ParamValue(1)), 0);
  return 0;
}

// WT a b c V: request 2037 with sub-code a and the number c << 16 | b, sent only when V is
// a variable; an integer variable receives the reply value.
int ExecWT(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumberParams(call, 1, 3);
  const ParamKind target = GetParamKind(4);
  if (target != ParamKind::kIntegerVariable && target != ParamKind::kStringVariable) return 0;
  const auto subCode = static_cast<uint32_t>(ParamValue(1));
  const auto number = static_cast<int32_t>(static_cast<uint32_t>(ParamValue(3)) << 16 |
                                           (static_cast<uint32_t>(ParamValue(2)) & 0xFFFFu));
  const int variable = ParamVarIndex(4);
  const int32_t reply = SendNumberToNxi(KAL_WT, subCode, number);
  if (target == ParamKind::kIntegerVariable) g_lIntegerVariables[variable] = reply;
  return 0;
}

// ES device index text line: "NS ..." to NXI; the line runs once when NXI's answer for the
// device arrives. A device outside the tables is never stored or sent.
int ExecES(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckNumberParams(call, 1, 2);
  CheckStringParam(Mnemonic(call), 3, false, false, call.text);
  CheckNumberParams(call, 4, 4);
  const int32_t device = ParamValue(1);
  if (!IsDeviceNumber(device)) {
    ReportError(Mnemonic(call), Format("Device does not exist, Device number: %d", device));
    return 0;
  }
  if (!CheckParamRange(call, 2, 1, kMaxStatusIndex)) return 0;
  if (!CheckParamLength(call, 3)) return 0;
  if (!CheckParamRange(call, 4, 1, kMaxResultLine)) return 0;
  const int32_t line = ParamValue(4);
  const std::string text = Format("NS %ld %ld '%s' %d %d %ld", static_cast<long>(device),
                                  static_cast<long>(ParamValue(2)), ParamText(3), Workstation(),
                                  static_cast<int>(g_hwndMain), static_cast<long>(line));
  g_statusAnswerLines[static_cast<size_t>(device)] = line;
  SendCommandText(call, KAL_DEVSTATUS_REQUEST, DeviceWParam(device), text);
  return 0;
}

constexpr CommandEntry kRows[] = {
    {"ES", ExecES}, {"QF", ExecQF}, {"WD", ExecWD}, {"WE", ExecWE}, {"WF", ExecWF}, {"WT", ExecWT},
};

}  // namespace

const CommandTable kNxiRequestCommands = kRows;

}  // namespace velcrum
