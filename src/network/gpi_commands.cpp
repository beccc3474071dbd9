// The G commands: texts for GPI devices (general-purpose inputs and outputs), sent through
// NXI as KAL_GPI_CMD with the device number in wParam; each text ends in the workstation
// number. Every range check ends a command only in strict inspection; a device outside
// 0 to 999 is reported a second time and gets no text.
#include <string>

#include "interpreter/arguments.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "network/device_command_text.h"
#include "network/device_commands.h"
#include "network/device_tables.h"
#include "network/kal_messages.h"

namespace velcrum {
namespace {

long Value(int n) {
  return static_cast<long>(ParamValue(n));
}

// Parameter n's range: 1 to 999 for the device (parameter 1), 0 or 1 for a lock or a state
// (parameter `binary`), 0 to 4096 for an index.
bool GpiParamChecked(const CommandCall& call, int n, int binary) {
  if (n == 1) return CheckParamRange(call, n, 1, kMaxDevices);
  return CheckParamRange(call, n, 0, n == binary ? 1 : kMaxDeviceIndex);
}

// Parameters 1 to `count` checked in order (GetArguments done), those to `ranged` for their
// ranges; then, for a device within 0 to 999, the text sent. `binary` is the parameter that
// is 0 or 1 (0: none).
void CheckAndSend(const CommandCall& call, int count, int ranged, int binary, uint32_t wParam,
                  const std::string& text) {
  CheckNumberParams(call, 1, count);
  for (int n = 1; n <= ranged; ++n) {
    if (!GpiParamChecked(call, n, binary)) return;
  }
  if (SendableOrReported(call, 1)) SendCommandText(call, KAL_GPI_CMD, wParam, text);
}

int ExecGF(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckAndSend(call, 1, 1, 0, DeviceWParam(ParamValue(1)),
               Format("GF %ld %d", Value(1), Workstation()));
  return 0;
}

int ExecGL(const CommandCall& call) {
  GetArguments(call.text, 4);
  CheckAndSend(
      call, 4, 4, 4, DeviceWParam(ParamValue(1)),
      Format("GL %ld %ld %ld %ld %d", Value(1), Value(2), Value(3), Value(4), Workstation()));
  return 0;
}

// GP and GQ (`name`): a state request for a range of GPI numbers.
int SendRangeRequest(const CommandCall& call, const char* name) {
  GetArguments(call.text, 3);
  CheckAndSend(call, 3, 3, 0, DeviceWParam(ParamValue(1)),
               Format("%s %ld %ld %ld %d", name, Value(1), Value(2), Value(3), Workstation()));
  return 0;
}

int ExecGP(const CommandCall& call) {
  return SendRangeRequest(call, "GP");
}

int ExecGQ(const CommandCall& call) {
  return SendRangeRequest(call, "GQ");
}

int ExecGS(const CommandCall& call) {
  // A missing flag reads as 0.
  GetArguments(std::string(call.text) + " 0 ", 4);
  CheckAndSend(call, 4, 3, 3, DeviceWParam(ParamValue(1), ParamValue(4)),
               Format("GS %ld %ld %ld %d", Value(1), Value(2), Value(3), Workstation()));
  return 0;
}

constexpr CommandEntry kRows[] = {
    {"GF", ExecGF}, {"GL", ExecGL}, {"GP", ExecGP}, {"GQ", ExecGQ}, {"GS", ExecGS},
};

}  // namespace

const CommandTable kGpiCommands = kRows;

}  // namespace velcrum
