// ET and EO. The script timers are timers 1 to 16 of the main window; each tick reaches
// the first panel, which runs the timer's two lines alternately (the panels do that part).
#include "shell/event_commands.h"

#include <cstdint>

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "interpreter/parameter_checks.h"
#include "runtime/event_routing.h"

namespace velcrum {
namespace {

bool IsScriptLine(int32_t line) {
  return line >= 1 && line <= kMaxControlId;
}

int ExecET(const CommandCall& call) {
  GetArguments(call.text, 4);
  const int32_t timer = ParamValue(1);
  const int32_t period = ParamValue(2);
  const int32_t firstLine = ParamValue(3);
  const int32_t secondLine = ParamValue(4);
  const bool exists = timer >= 1 && timer <= kScriptTimerCount;
  if (!exists) {
    ReportParamRange(Mnemonic(call), 1, call.text);
    if (IsStrictInspection()) return 0;
  }
  if (period != 0 && firstLine == 0 && secondLine == 0) {
    ReportWarning(Mnemonic(call), "Both <Offset1%> and <Offset2%> are zero");
  }
  if (!exists) {
    ReportError(Mnemonic(call), Format("Timer does not exist, Timer number: %d", timer));
    return 0;
  }

  ScriptTimer& state = g_scriptTimers[timer];
  state.firstLine = firstLine;
  state.secondLine = secondLine;
  const auto id = static_cast<uint32_t>(timer);
  if (period == 0) {
    TheHost().KillMainWindowTimer(id);
    state.state = 0;
  } else if (IsScriptLine(firstLine) && IsScriptLine(secondLine)) {
    if (timer == 1) SetClockVariables();
    // A negative period would be an interval of weeks as an unsigned number; the interval
    // is half the period, at least a millisecond.
    const uint32_t interval = period > 0 ? static_cast<uint32_t>(period / 2) : 0x7FFFFFFFu;
    TheHost().SetMainWindowTimer(id, interval < 1 ? 1 : interval);
    state.state = 1;
  }
  return 0;
}

int ExecEO(const CommandCall& call) {
  GetArguments(call.text, 4);
  const int32_t low = ParamValue(1);
  const int32_t high = ParamValue(2);
  const int32_t line = ParamValue(3);
  if (IsScriptLine(low) && IsScriptLine(high) && low <= high) {
    g_execOverride.low = low;
    g_execOverride.high = high;
    g_execOverride.line = line;
    g_execOverride.variable = GetParamKind(4) == ParamKind::kIntegerVariable ? ParamVarIndex(4) : 0;
    DebugOut(
        Format("Setting override for Id's between %d and %d to go to line %d", low, high, line));
  } else {
    DebugOut("Clearing Exec Override");
    g_execOverride = ExecOverride{};
  }
  return 0;
}

constexpr CommandEntry kRows[] = {
    {"EO", ExecEO},
    {"ET", ExecET},
};

}  // namespace

const CommandTable kEventCommands = kRows;

}  // namespace velcrum
