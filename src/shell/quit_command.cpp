// EQ (code, optional line). Code 1000 ends the process inside the command, after running
// the line and a shut-down without the CLOSEDOWN section; 0 to 99 closes only when the load
// of running copies exceeds the code; anything else asks the own main window to close,
// which happens once the current line has finished.
#include "shell/quit_command.h"

#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/host.h"
#include "interpreter/parameter_checks.h"
#include "network/kal_messages.h"
#include "runtime/process_state.h"

namespace velcrum {
namespace {

constexpr int kQuitImmediately = 1000;

void PostCloseDown() {
  TheHost().PostToMainWindow(KAL_CLOSEDOWN, 0);
  TimeStamp("ExecQuit - PostMessage KAL_CLOSEDOWN");
}

}  // namespace

int ExecQuit(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumericParam("EQ", 1, false, false, call.text);
  const int32_t code = ParamValue(1);
  if (code == kQuitImmediately) {
    TimeStamp("ExecQuit == 1000 - entry");
    g_bQuitImmediately = true;
    const int32_t line = ParamValue(2);
    if (line >= 1 && line <= 32766) RunLine(line, 0);
    TheHost().MainCloseDown();
    TheHost().EndProcess(0);
    return 0;
  }
  TimeStamp("ExecQuit - entry");
  if (code >= 0 && code <= 99) {
    if (code != 0 && TheHost().RunningCopiesLoad() > code) PostCloseDown();
    return 0;
  }
  PostCloseDown();
  return 0;
}

namespace {

constexpr CommandEntry kRows[] = {
    {"EQ", ExecQuit},
};

}  // namespace

const CommandTable kQuitCommand = kRows;

}  // namespace velcrum
