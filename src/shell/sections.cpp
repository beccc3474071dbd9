// Sections run on events. Each runs in sequence from an empty subroutine frame, so the
// section goes on from line to line until a line number with no line.
#include "shell/sections.h"

#include <string>

#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/nested_run.h"
#include "interpreter/variables.h"
#include "runtime/bound_resources.h"
#include "runtime/process_state.h"
#include "shell/configuration.h"

namespace velcrum {
namespace {

void RestoreStartParameter() {
  SetStringVariable(kEventVariable, g_szStartParameter);
  g_lIntegerVariables[kEventVariable] = ReadDecimal(g_szStartParameter);
}

}  // namespace

void SetStartParameter(std::string_view text) {
  g_szStartParameter = std::string(text.substr(0, kMaxStringLength));
  RestoreStartParameter();
}

void OnActivateApp(uint32_t wParam) {
  if (!bStartUpDone || g_bClosingDown) return;
  // Activation can change while a line waits in a box, so the section may run in the
  // middle of that line, which gets its place back afterwards.
  const NestedRun keepPlace;
  RestoreStartParameter();
  if (g_iProcStackPtr == -1) {
    g_iProcStackPtr = 0;
    g_iProcStack[0] = ProcStackEntry{};
  }
  g_bInSequence = true;
  if (wParam != 0) {
    TimeStamp("30c1 - running WAKEUP");
    if (g_config.debugFlags & kDebugSubroutineStackTrace) {
      DebugOut(
          Format("VLWndProc: KAL_ACTIVATEAPP: VL_WAKEUP iProcStackPtr:%d, "
                 "g_iProcStack[g_iProcStackPtr][PROC_RET_LINE]:%d\n",
                 g_iProcStackPtr, g_iProcStack[g_iProcStackPtr].PROC_RET_LINE));
    }
    RunLine(kWakeupSectionLine, 0);
  } else {
    TimeStamp("30c2 - running SLEEP");
    RunLine(kSleepSectionLine, 0);
  }
}

void RunCloseDownSectionOnRequest() {
  std::string text;
  if (!BoundResources().LoadString(kCloseDownSectionLine, text)) return;
  const NestedRun keepPlace;
  PushEmptyProcFrame();
  g_bInSequence = true;
  TimeStamp("28a - running CLOSEDOWN");
  RunLine(kCloseDownSectionLine, 0);
}

}  // namespace velcrum
