// EE (on, S-var, delay in ms, line, line).
//
// A report cannot run a line where it is made: the handler that reported goes on reading
// its parameters afterwards, and a line run meanwhile would parse commands of its own
// into the same table. So the report only notes the text and starts the main window's
// timers; the lines run from the message loop. One event at a time: reports made while
// the event is pending or while its lines run (a fault inside them, say) do not start it
// again, so a faulty error line cannot feed itself.
#include "commands/error_event_command.h"

#include <algorithm>
#include <string>

#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "interpreter/nested_run.h"
#include "interpreter/variables.h"
#include "runtime/timers.h"

namespace velcrum {
namespace {

struct ErrorEvent {
  bool on = false;
  int variable = -1;  // the string variable that receives the text; -1: none
  int32_t delayMs = 0;
  int32_t firstLine = 0;
  int32_t secondLine = 0;
  // The report being handled: its text, and the lines still to run.
  std::string text;
  bool textDelivered = false;
  int linesPending = 0;
  bool running = false;
};

ErrorEvent g_errorEvent;

void OnDiagnostic(std::string_view text) {
  ErrorEvent& event = g_errorEvent;
  if (!event.on || event.running || event.linesPending > 0) return;
  event.text.assign(text.substr(0, kMaxStringLength));
  event.textDelivered = false;
  if (event.firstLine > 0 && TheHost().SetMainWindowTimer(kErrorEventFirstTimer, 1)) {
    ++event.linesPending;
  }
  if (event.secondLine > 0 &&
      TheHost().SetMainWindowTimer(kErrorEventSecondTimer,
                                   static_cast<uint32_t>(std::max(event.delayMs, 1)))) {
    ++event.linesPending;
  }
}

void RunEventLine(int32_t line) {
  ErrorEvent& event = g_errorEvent;
  if (!event.textDelivered && event.variable >= 0) SetStringVariable(event.variable, event.text);
  event.textDelivered = true;
  event.running = true;
  {
    const NestedRun keepPlace;
    RunLine(line, 0);
  }
  event.running = false;
}

}  // namespace

int ExecEE(const CommandCall& call) {
  GetArguments(call.text, 5);
  const std::string_view name = Mnemonic(call);
  CheckNumericParam(name, 1, false, false, call.text);
  const int32_t on = ParamValue(1);
  if (on != 0 && on != 1) {
    ReportParamRange(name, 1, call.text);
    return 0;
  }
  ErrorEvent& event = g_errorEvent;
  if (on == 0) {
    TheHost().KillMainWindowTimer(kErrorEventFirstTimer);
    TheHost().KillMainWindowTimer(kErrorEventSecondTimer);
    ResetErrorEvent();
    return 0;
  }
  event.on = true;
  event.variable = IsStringVarParam(name, 2) ? ParamVarIndex(2) : -1;
  event.delayMs = ParamValue(3);
  event.firstLine = ParamValue(4);
  event.secondLine = ParamValue(5);
  SetDiagnosticListener(OnDiagnostic);
  return 0;
}

void OnErrorEventTimer(const platform::Message& message) {
  if (message.message != platform::WM_TIMER) return;
  const bool first = message.wParam == kErrorEventFirstTimer;
  if (!first && message.wParam != kErrorEventSecondTimer) return;
  TheHost().KillMainWindowTimer(static_cast<uint32_t>(message.wParam));
  ErrorEvent& event = g_errorEvent;
  if (event.linesPending == 0) return;
  RunEventLine(first ? event.firstLine : event.secondLine);
  // The lines may have switched the event off meanwhile.
  if (event.linesPending > 0) --event.linesPending;
}

// Timers still running find nothing pending and run nothing.
void ResetErrorEvent() {
  g_errorEvent = {};
  SetDiagnosticListener(nullptr);
}

namespace {

constexpr CommandEntry kRows[] = {
    {"EE", ExecEE},
};

}  // namespace

const CommandTable kErrorEventCommand = kRows;

}  // namespace velcrum
