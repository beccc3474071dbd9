// The commands that move numbers and texts between script variables and panel controls:
// NG and NP (numbers), TC, TG, TM and TP (texts).
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kControlTextCommands;

}  // namespace velcrum
