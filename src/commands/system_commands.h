// The system commands that need no display: the workstation number (EW), the day of the
// week (EN), a line appended to a log file (EL), a formatted line to the system debugger
// (EZ) and INI entries read and written by scripts (EF, in ini_entry_command.cpp).
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

int ExecEF(const CommandCall& call);  // read or write an INI entry
int ExecEL(const CommandCall& call);  // append a line to an existing file
int ExecEN(const CommandCall& call);  // day of the week
int ExecEW(const CommandCall& call);  // workstation number
int ExecEZ(const CommandCall& call);  // formatted system-debugger line

extern const CommandTable kSystemCommands;

}  // namespace velcrum
