// The commands of event routing: ET (the script timers) and EO (the exec override).
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kEventCommands;

}  // namespace velcrum
