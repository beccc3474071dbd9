// The under-monitor display commands: UE starts and stops the display chains, UP writes a
// caption and tally state to one display.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kUmdCommands;

}  // namespace velcrum
