// ED (mode): each pair of modes switches one output off and on. The windows (modes 0 to 3)
// are opened or closed only when their state changes; the three outputs are set, and their
// VELCRUM.INI keys written, whatever state they were in.
#include "shell/debug_switch_command.h"

#include "interpreter/diagnostics.h"
#include "interpreter/handler_support.h"
#include "shell/shell_menu.h"

namespace velcrum {

int ExecED(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  constexpr uint32_t kItemOfPair[] = {kMenuShowVariables, kMenuShowDebugWindow, kMenuOutputToDbwin,
                                      kMenuOutputParserTrace, kMenuOutputDebug};
  const int32_t mode = ParamValue(1);
  if (mode < 0 || mode > 9) {
    ReportWarning(Mnemonic(call), "Mode parameter out of range.");
    DebugOut("VLXexec_ExecDebug: INVALID parameter\n");
    return 0;
  }
  const bool windowSwitch = mode <= 3;
  SetMenuSwitch(kItemOfPair[mode / 2], mode % 2 == 1, windowSwitch);
  return 0;
}

namespace {

constexpr CommandEntry kRows[] = {
    {"ED", ExecED},
};

}  // namespace

const CommandTable kDebugSwitchCommand = kRows;

}  // namespace velcrum
