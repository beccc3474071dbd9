// The device command groups that talk to NXI: the router (R), infodriver (I), GPI (G) and
// device and database (D) commands, as rows of the dispatcher's table.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kRouterCommands;
extern const CommandTable kInfodriverCommands;
extern const CommandTable kGpiCommands;
extern const CommandTable kDeviceDatabaseCommands;

}  // namespace velcrum
