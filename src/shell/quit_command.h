// EQ: end the program, through the normal shut-down or at once.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

int ExecQuit(const CommandCall& call);

// EQ as a row of the dispatcher's table.
extern const CommandTable kQuitCommand;

}  // namespace velcrum
