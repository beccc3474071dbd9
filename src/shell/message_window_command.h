// EM: a message for the operator, either in a blocking box or in the "EXEC_MESSAGE"
// window, which suspends the line until its "Ok" button is pressed or its time-out ends.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

extern const CommandTable kMessageWindowCommand;

// Timer 26: the message window's time is up; the window closes and the line resumes.
void OnMessageWindowTimer();
// The main window's private message kMsgMessageWindowDone: the window's "Ok" (wParam 1,
// the line resumes) or its close box (wParam 0, it does not).
void OnMessageWindowDone(bool resume);
// Destroys the window without resuming (the final shut-down step, tests).
void CloseMessageWindow();

}  // namespace velcrum
