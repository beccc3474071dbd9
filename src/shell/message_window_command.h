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
// Brings the window to the top when it is open (a click on the main window or a panel,
// a line run by message 2029), so that the operator does not lose it behind them.
void RaiseMessageWindow();
// Destroys the window without resuming (the final shut-down step, tests).
void CloseMessageWindow();

}  // namespace velcrum
