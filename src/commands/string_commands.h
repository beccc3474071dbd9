// The S commands: formatting, dates, times and timecodes, environment variables, and
// filling, searching, listing, loading and saving the string memories, and a free text to
// NXI.
#pragma once

#include "interpreter/command_table.h"

namespace velcrum {

int ExecSA(const CommandCall& call);  // the program's file name
int ExecSC(const CommandCall& call);  // formatted text
int ExecSD(const CommandCall& call);  // date plus days
int ExecSE(const CommandCall& call);  // environment variable
int ExecSF(const CommandCall& call);  // find a string memory
int ExecSG(const CommandCall& call);  // get a string memory
int ExecSH(const CommandCall& call);  // hexadecimal text
int ExecSI(const CommandCall& call);  // time difference
int ExecSL(const CommandCall& call);  // list memories in one text
int ExecSM(const CommandCall& call);  // send a text to NXI
int ExecSN(const CommandCall& call);  // rename the instance
int ExecSO(const CommandCall& call);  // replace a script line
int ExecSP(const CommandCall& call);  // put a string memory
int ExecSQ(const CommandCall& call);  // is a program's window open?
int ExecSR(const CommandCall& call);  // read a text file into string memories
int ExecSS(const CommandCall& call);  // fill string memories
int ExecST(const CommandCall& call);  // timecodes
int ExecSW(const CommandCall& call);  // write string memories to a text file

// The S commands, as rows of the dispatcher's table.
extern const CommandTable kStringCommands;

}  // namespace velcrum
