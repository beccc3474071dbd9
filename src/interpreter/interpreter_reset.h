// Returns every process-wide store of the interpreter to its state at program start:
// settings, variables and memories, the script store, the executor and the subroutine
// stack, the diagnostics' globals. Tests call it so that each starts clean.
#pragma once

namespace velcrum {

void ResetInterpreter();

}  // namespace velcrum
