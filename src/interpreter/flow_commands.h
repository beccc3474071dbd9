// Flow control: jumps, comparison jumps, computed jumps, subroutine call and return,
// reading the current line number, evaluating a string as a line, and the empty command.
//
// A jump never runs its target: it leaves the target in iJumpPending (a return also
// the resume index in iCmdPending) and answers nonzero, so that the executor ends the
// current line and continues there.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

int ExecJA(const CommandCall& call);
int ExecJC(const CommandCall& call);
int ExecJD(const CommandCall& call);
int ExecJE(const CommandCall& call);
int ExecJG(const CommandCall& call);
int ExecJI(const CommandCall& call);
int ExecJL(const CommandCall& call);
int ExecJO(const CommandCall& call);
int ExecJR(const CommandCall& call);
int ExecJS(const CommandCall& call);
int ExecJT(const CommandCall& call);
int ExecEG(const CommandCall& call);
int ExecEI(const CommandCall& call);
int ExecEV(const CommandCall& call);

// The flow-control commands, as rows of the dispatcher's table.
extern const CommandTable kFlowCommands;

}  // namespace velcrum
