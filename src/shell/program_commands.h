// The commands that reach other programs and the workstation: EA starts a program or
// hands its arguments to the copy that runs, EK asks surplus copies to close, EU allows
// or forbids other copies to close this one, ER reboots, logs off or closes NXI.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

int ExecEA(const CommandCall& call);
int ExecEK(const CommandCall& call);
int ExecER(const CommandCall& call);
int ExecEU(const CommandCall& call);

extern const CommandTable kProgramCommands;

}  // namespace velcrum
