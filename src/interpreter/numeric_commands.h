// The numeric commands: integer arithmetic on the integer variables, bit operations,
// random numbers, and conversions between numbers and text.
//
// Script integers are signed 32-bit values and every operation wraps as two's
// complement. None of these commands ends its line. (NG and NP, which move numbers to
// and from panel controls, belong with the panels.)
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

int ExecNA(const CommandCall& call);
int ExecNB(const CommandCall& call);
int ExecNC(const CommandCall& call);
int ExecND(const CommandCall& call);
int ExecNF(const CommandCall& call);
int ExecNL(const CommandCall& call);
int ExecNM(const CommandCall& call);
int ExecNR(const CommandCall& call);
int ExecNS(const CommandCall& call);
int ExecNT(const CommandCall& call);

// The numeric commands, as rows of the dispatcher's table.
extern const CommandTable kNumericCommands;

}  // namespace velcrum
