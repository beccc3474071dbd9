// The line executor, the dispatcher, and the executor's process-wide state.
#include "interpreter/executor.h"

#include <algorithm>
#include <cstring>

#include "interpreter/command_table.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/line_cache.h"
#include "interpreter/preparsed_arguments.h"
#include "interpreter/script_store.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"

namespace velcrum {

int g_iRunDepth = 0;
int g_iCurrentLine = 0;
int g_iCurrentCommand = 0;
int iJumpPending = 0;
int iCmdPending = 0;
bool g_bInSequence = false;
bool g_bEndOfLineRequest = false;
ProcStackEntry g_iProcStack[kProcStackSize];
int g_iProcStackPtr = -1;
AppDllCall g_pAppDllCall = nullptr;

namespace {

// The blocks the extension library is handed are the interpreter's own stores, laid out
// as velcrum_extension.h promises.
static_assert(kVariableCount == VELCRUM_VARIABLE_COUNT);
static_assert(sizeof g_szStringVariables[0] == sizeof(VelcrumString));
static_assert(sizeof g_lIntegerVariables == VELCRUM_VARIABLE_COUNT * sizeof(int32_t));

// What the library sees before the panels have put their table in place: no panel open.
VelcrumWindowHandle g_noPanelWindows[VELCRUM_PANEL_WINDOW_COUNT] = {};

}  // namespace

VelcrumWindowHandle* g_pPanelWindowTable = g_noPanelWindows;

void ResetExecutorState() {
  g_iCurrentLine = 0;
  g_iCurrentCommand = 0;
  iJumpPending = 0;
  iCmdPending = 0;
  g_bInSequence = false;
  g_bEndOfLineRequest = false;
  std::fill(std::begin(g_iProcStack), std::end(g_iProcStack), ProcStackEntry{});
  g_iProcStackPtr = -1;
  g_pAppDllCall = nullptr;
  std::fill(std::begin(g_noPanelWindows), std::end(g_noPanelWindows), 0);
  g_pPanelWindowTable = g_noPanelWindows;
  g_pDispatchedArguments = nullptr;
  ClearLineCache();
}

void PushEmptyProcFrame() {
  g_iProcStackPtr = std::min(g_iProcStackPtr + 1, kProcStackSize - 1);
  g_iProcStack[g_iProcStackPtr] = ProcStackEntry{};
}

namespace {

// The extension library's way to run one command: line 0, index 0, always answered 1.
int32_t DispatchForExtension(const char* command) {
  DispatchCommand(command ? command : "", 0, 0);
  return 1;
}

bool IsCharacterAcceptable(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') || byte == ' ' || (byte >= '\t' && byte <= '\r') ||
         byte == '.' || byte == ':' || byte == '-';
}

void ReportUnknownCommand(std::string_view command, int line) {
  const char first = command.empty() ? '\0' : command[0];
  const char second = command.size() < 2 ? '\0' : command[1];
  std::string message;
  if ((command.size() == 1 && IsCharacterAcceptable(first)) ||
      (IsCharacterAcceptable(first) && IsCharacterAcceptable(second))) {
    message = Format("Unknown Command in line %d - stringtable: '%c%c'", line, first, second);
    // A one-character command puts a NUL where the second character stands, which ends
    // the message there, closing quote and all.
    message.resize(std::strlen(message.c_str()));
  } else {
    message = Format("Unknown Command in line %d - stringtable: 0x%x, 0x%x", line,
                     static_cast<unsigned>(static_cast<int>(static_cast<signed char>(first))),
                     static_cast<unsigned>(static_cast<unsigned char>(second)));
  }
  NotifyDiagnostic(message);
  Host& host = TheHost();
  if (host.EditorOpen()) {
    host.EditorStatus(message);
  } else {
    ShowMessage(message);
  }
}

int Breakpoint(int line, int index) {
  Host& host = TheHost();
  host.RefreshVariablesWindows();
  const MessageBoxAnswer answer =
      host.ShowMessageBox(Format("%s - ! Debug Breakpoint !", g_instanceName.c_str()),
                          Format("Breakpoint signalled at line %d, command %d.", line, index + 1),
                          {MessageBoxButtons::kOkCancel, MessageBoxIcon::kInformation, false});
  if (answer == MessageBoxAnswer::kOk) return 0;
  g_iCurrentLine = 0;
  iJumpPending = 0;
  iCmdPending = 0;
  g_iProcStackPtr = -1;
  return 1;
}

}  // namespace

int DispatchCommand(std::string_view command, int line, int index) {
  if (!command.empty() && command[0] == '!') return Breakpoint(line, index);
  if (command.size() >= 2 && command[0] == '#' && command[1] == '#') return 0;
  if (command.size() >= 2 && command[0] <= 'X') {
    if (const CommandHandler handler = FindHandler(command[0], command[1])) {
      return handler(CommandCall{command, line, index});
    }
  }
  ReportUnknownCommand(command, line);
  return 0;
}

namespace {

// The passes of a run, with the executor's line trace built in or left out: the switch
// is read once per run, so that a run without the trace tests nothing for it. Answers
// whether the run ended at a missing line (`line` is then that line).
template <bool kTracing>
bool RunPasses(int& line, int firstCommand) {
  LineHandle held;
  bool continuation = true;
  while (continuation) {
    continuation = false;
    if (g_pAppDllCall && g_pAppDllCall(line, g_szStringVariables, g_lIntegerVariables,
                                       g_pPanelWindowTable, DispatchForExtension) != 0) {
      return true;
    }
    // The line is fetched anew on every pass: a script may change it while it runs. The
    // handle keeps this pass's text and commands alive whatever happens to the line; a
    // pass of the same line as the last keeps the handle it has.
    CachedLine* const fetched = FetchLine(line);
    if (!fetched) return true;
    if (held.Get() != fetched) held = LineHandle(fetched);
    CachedLine& current = *fetched;
    if (current.EndsRun()) break;
    const std::string& text = current.Text();

    if (kTracing) {
      DebugOut(Format("Line %d, Cmds %d, Line='%s'", line, current.Separators(), text.c_str()));
    }
    if (g_settings.outputParserTrace) TraceOut(Format("Trace: %d, '%s'", line, text.c_str()));

    // Text beyond the 128th command is ignored.
    int last = current.CommandCount() - 1;
    for (int i = 0; i <= last; ++i) {
      if (i < firstCommand) {
        if (kTracing) DebugOut(Format("Skipping : i=%d, iCmd=%d", i, firstCommand));
      } else {
        g_iCurrentLine = line;
        g_iCurrentCommand = i;
        // The command's parameter tokens stand ready for its GetArguments; a nested run
        // inside the command points elsewhere and puts this back before returning.
        CachedCommand& command = current.Command(i);
        PreparsedArguments* const outer = g_pDispatchedArguments;
        g_pDispatchedArguments = &command.Arguments();
        const int result = command.Dispatch(line);
        g_pDispatchedArguments = outer;
        if (g_bEndOfLineRequest) {
          g_bEndOfLineRequest = false;
          last = i;
        }
        // A command that ends its line makes itself the line's last command, so that in
        // sequence the next line follows instead of this line starting over for ever.
        if (result != 0) last = i;
      }
      // A requested jump is taken once the line is done: later commands of this line
      // still run unless they lie below the resume index, and a later jump replaces it.
      if (iJumpPending != 0) {
        if (kTracing) DebugOut("Jump Pending");
        continuation = true;
        line = iJumpPending;
        iJumpPending = 0;
        firstCommand = iCmdPending;
        if (kTracing && iCmdPending != 0) DebugOut("Cmd Pending");
        iCmdPending = 0;
      } else if (g_bInSequence) {
        if (kTracing) DebugOut(Format("Cmd %d of %d", i, last));
        continuation = true;
        if (i >= last) {
          ++line;
          firstCommand = 0;
          if (kTracing) DebugOut(Format("In sequence, next line = %d", line));
        }
      }
    }
    if (kTracing) DebugOut(Format("Loop=%d", continuation ? 1 : 0));
  }
  return false;
}

}  // namespace

void RunLine(int line, int firstCommand) {
  struct Depth {
    Depth() { ++g_iRunDepth; }
    ~Depth() { --g_iRunDepth; }
  } depth;
  const bool tracing = g_settings.outputDebug;
  const bool startup = line == kStartupLine;
  if (startup) TimeStamp("RunLine: start-up line begins");
  g_iCurrentLine = line;
  iJumpPending = 0;
  iCmdPending = 0;
  g_bEndOfLineRequest = false;

  const bool lineMissing =
      tracing ? RunPasses<true>(line, firstCommand) : RunPasses<false>(line, firstCommand);
  if (lineMissing) {
    if (tracing) DebugOut(Format("LoadString() failed at line %d - End", line));
    g_bInSequence = false;
    g_iProcStackPtr = -1;
  }
  if (startup) TimeStamp("RunLine: start-up line ends");
}

}  // namespace velcrum
