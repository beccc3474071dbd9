// KR and KU: the keyboard capture registered and ended.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kKeyboardCommands;

// Ends the capture without a word, the hook library cleared and unloaded: a clean start for
// tests, and the end of the program.
void ReleaseKeyCapture();

}  // namespace velcrum
