// The audio commands: AB (beep), AK (click sounds), AM (an MCI string), AP (play), AR
// (record) and AS (stop).
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

int ExecAB(const CommandCall& call);
int ExecAK(const CommandCall& call);
int ExecAM(const CommandCall& call);
int ExecAP(const CommandCall& call);
int ExecAR(const CommandCall& call);
int ExecAS(const CommandCall& call);

extern const CommandTable kAudioCommands;

}  // namespace velcrum
