// The executor's process-wide state, shared with the flow-control commands, the
// diagnostics (which name the current line) and the event handlers that start lines.
#pragma once

#include <velcrum/velcrum_extension.h>

#include <cstdint>

namespace velcrum {

// Line numbers of the script, and the sections the shell runs for its events.
inline constexpr int MAX_SCRIPT_LINE = 32768;
inline constexpr int kHighestJumpTarget = 32767;
inline constexpr int kEvaluationLine = 32768;  // EV's scratch line
inline constexpr int kStartupLine = 30000;
inline constexpr int kWakeupLine = 30500;
inline constexpr int kCloseDownLine = 31000;
inline constexpr int kSleepLine = 31500;
inline constexpr int kDatabaseLine = 32000;

// How many runs (RunLine) are in progress: 0 while no line runs, more than 1 while a line
// runs inside another's command (a message that arrives while a command waits).
extern int g_iRunDepth;

// The line being run (0 outside a run) and the 0-based index of its running command.
extern int g_iCurrentLine;
extern int g_iCurrentCommand;

// A jump requested by a command: the line to continue at (0: none) and the command
// index within it at which to resume.
extern int iJumpPending;
extern int iCmdPending;

// While set, the end of a line continues with the next line number.
extern bool g_bInSequence;

// Set by a handler to have the rest of the current line skipped.
extern bool g_bEndOfLineRequest;

// The subroutine stack: 500 entries of the calling line and the index to resume at.
inline constexpr int kProcStackSize = 500;
struct ProcStackEntry {
  int PROC_RET_LINE = 0;
  int resumeCommand = 0;
};
extern ProcStackEntry g_iProcStack[kProcStackSize];
extern int g_iProcStackPtr;  // index of the top entry; -1 when empty

// The panel's own extension library, offered every line before the executor runs it
// (VelcrumCall of velcrum_extension.h). Arguments: the line, the 52 string variables, the
// 52 integer variables, the panel window table and a callback that runs one command
// text. Nonzero: the library ran it. The table is the panels' own; until the panels set
// it, it points at a table of closed panels, so a library always sees 65 entries.
using AppDllCallback = VelcrumCommandCallback;
using AppDllCall = VelcrumCallFunction;
extern AppDllCall g_pAppDllCall;
extern VelcrumWindowHandle* g_pPanelWindowTable;

// Clears all of the above to its state at program start.
void ResetExecutorState();

}  // namespace velcrum
