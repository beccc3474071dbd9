// The P group of script commands that create, show, hide, move, size, minimise and destroy
// panels: PI, PS, PR, PD, PM, PZ, PV.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kPanelCommands;

}  // namespace velcrum
