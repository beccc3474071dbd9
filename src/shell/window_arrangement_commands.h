// The commands that arrange the main window and the panels on the screen: EB (place and
// background), EC (frame style and title-bar drag lock), EP (minimise, maximise) and EH
// (z-order of the main window and the panels).
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kWindowArrangementCommands;

// Forgets the panel EH named last (program start, tests).
void ResetWindowArrangement();

}  // namespace velcrum
