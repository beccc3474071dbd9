// The line executor and the command dispatcher.
//
// Every event that runs script code ends in RunLine: it fetches the line from the store,
// cuts it at ":" into commands, dispatches each, and follows the jumps they request
// until a line ends with nothing more to run. Re-entrant: a command may run a nested
// line (EV, a message box that lets messages through), sharing the same globals.
#pragma once

#include <string_view>

namespace velcrum {

// Runs the line from its command `firstCommand` on, and everything it leads to.
void RunLine(int line, int firstCommand);

// Pushes an empty frame (line 0, index 0) on the subroutine stack, as the shell does
// before it runs a section in sequence. A full stack keeps its top frame, cleared.
void PushEmptyProcFrame();

// Runs one command; returns its CommandResult (nonzero ends the line).
int DispatchCommand(std::string_view command, int line, int index);

}  // namespace velcrum
