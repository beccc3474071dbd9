// EX: calling a function of a shared library from a script, with text arguments and an
// integer and a string result (velcrum_extension.h gives the functions' forms).
//
//   EX mode library function N% R$ [argument 1 ... argument 5]
//
// Mode 0 hands the function arguments 1 to 3 as one text that it may replace, mode 1 the
// argument block; both load the library for the call and unload it after. Mode 2 with a
// library name keeps the library loaded and puts its number in N% (0 when it cannot be
// loaded); mode 2 with that number calls a function of the kept library as mode 1 does,
// or, with the function name UNLOAD, unloads it. Any other mode does nothing.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

int ExecEX(const CommandCall& call);

// EX, as a row of the dispatcher's table.
extern const CommandTable kExtensionCommands;

}  // namespace velcrum
