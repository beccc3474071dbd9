// The list commands on the list boxes and combo boxes of panels: LA, LB, LC, LD, LE, LF,
// LG, LI, LL, LN, LP, LQ, LS, LT, LU, LV, LW and LX, and the two commands that fill a list
// from elsewhere: DL (the devices NXI knows) and FD (the names of files).
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kListCommands;

}  // namespace velcrum
