// EE: the error event. While it is on, the first error or warning a script causes puts
// its text into a string variable and runs two lines: the first as soon as the line that
// caused it has ended, the second after a delay. Operators then see script faults on the
// panel itself.
#pragma once

#include "interpreter/command_table.h"
#include "platform/desktop/message.h"

namespace velcrum {

extern const CommandTable kErrorEventCommand;

// The main window's timers of the event's two lines.
void OnErrorEventTimer(const platform::Message& message);
// Off, with nothing pending (program start, tests).
void ResetErrorEvent();

}  // namespace velcrum
