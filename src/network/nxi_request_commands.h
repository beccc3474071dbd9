// The fixed requests to NXI: QF, WD, WE, WF and WT, one numeric frame each, and ES, the
// device status request whose answer later runs a line.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kNxiRequestCommands;

}  // namespace velcrum
