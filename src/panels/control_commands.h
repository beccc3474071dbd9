// The C group of script commands that change panel controls (check marks, enabled and
// visible state, place, size, focus, identifier, fader position, text, the return-key
// line) and BP, a bitmap on a control.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kControlCommands;

}  // namespace velcrum
