// The T group of script commands: editing string variables character by character,
// splitting and joining texts, and appending text to files.
//
// Each handler parses its own parameters, reports problems through the diagnostics and
// lets the line go on (every one answers 0). The commands that move text between panel
// controls (TC, TG, TM, TP) live with the panels.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

int ExecTB(const CommandCall& call);  // copy with "|" inserted after a position
int ExecTD(const CommandCall& call);  // split at the first separator
int ExecTE(const CommandCall& call);  // edit a variable in place
int ExecTF(const CommandCall& call);  // remove line ends and single quotes
int ExecTH(const CommandCall& call);  // a character to tabs or tabs to a character
int ExecTI(const CommandCall& call);  // append to a variable
int ExecTL(const CommandCall& call);  // load a variable, cut to 255
int ExecTQ(const CommandCall& call);  // length of a text
int ExecTR(const CommandCall& call);  // remove the first occurrence of a text
int ExecTS(const CommandCall& call);  // split into integer and string memories
int ExecTT(const CommandCall& call);  // copy one string variable to another
int ExecTW(const CommandCall& call);  // append a text to a file
int ExecTX(const CommandCall& call);  // translate file-name and line-end characters

// The T commands, as rows of the dispatcher's table.
extern const CommandTable kTextCommands;

}  // namespace velcrum
