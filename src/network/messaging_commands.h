// The X commands: direct connections to device drivers without NXI (XR, XU), crosspoint,
// GPI, write and poll commands sent to a connected driver (XC, XS, XW, XP), reading a
// driver's slot (XG), the parser and redundancy lines of a device (XI, XN), the client
// command values (XD) and a stopwatch (XT).
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

int ExecXC(const CommandCall& call);  // crosspoint on a connected driver
int ExecXD(const CommandCall& call);  // read and clear the client command values
int ExecXG(const CommandCall& call);  // read a slot of a connected driver
int ExecXI(const CommandCall& call);  // set the parser line of a connected device
int ExecXN(const CommandCall& call);  // set the redundancy line, query the driver's mode
int ExecXP(const CommandCall& call);  // poll a connected driver
int ExecXR(const CommandCall& call);  // connect to a driver and register its revertives
int ExecXS(const CommandCall& call);  // GPI line on a connected driver
int ExecXT(const CommandCall& call);  // stopwatch
int ExecXU(const CommandCall& call);  // release indexes; disconnect when none remain
int ExecXW(const CommandCall& call);  // write a slot of a connected driver

// The stopwatch back to its start (0).
void ResetMessagingCommands();

// The X commands, as rows of the dispatcher's table.
extern const CommandTable kMessagingCommands;

}  // namespace velcrum
