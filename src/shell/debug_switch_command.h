// ED: the debug outputs on or off, as their items of the main window's pop-up menu set them.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kDebugSwitchCommand;

}  // namespace velcrum
