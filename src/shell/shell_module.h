// The shell's commands as a module: EQ, the event commands, the program commands (EA, EK,
// EU, ER), and the shell's reset (its configuration).
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kShellModule;

}  // namespace velcrum
