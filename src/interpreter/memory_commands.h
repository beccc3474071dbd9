// The memory commands: single integer memories (set, get, increment, decrement),
// ranges of them (fill, search, copy, logical reductions, listing into a string) and
// whole ranges to and from memory files.
//
// Every cell is reached through SetMem and GetMem. A range is first to last inclusive
// and is worked on only when both lie in 1 to 65536 and first <= last. None of these
// commands ends its line.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

int ExecMA(const CommandCall& call);
int ExecMD(const CommandCall& call);
int ExecMF(const CommandCall& call);
int ExecMG(const CommandCall& call);
int ExecMI(const CommandCall& call);
int ExecML(const CommandCall& call);
int ExecMM(const CommandCall& call);
int ExecMP(const CommandCall& call);
int ExecMR(const CommandCall& call);
int ExecMS(const CommandCall& call);
int ExecMW(const CommandCall& call);

// The memory commands, as rows of the dispatcher's table.
extern const CommandTable kMemoryCommands;

}  // namespace velcrum
