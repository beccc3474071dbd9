// The dispatcher's table: every two-letter mnemonic and the handler that runs it.
#pragma once

#include <cstdint>
#include <string_view>

namespace velcrum {

// One command as the dispatcher hands it over: its text (mnemonic included) and the line
// and command index it runs at.
struct CommandCall {
  std::string_view text;
  int line = 0;
  int index = 0;
};

// The CommandResult: 0 lets the line go on with its next command; nonzero ends it.
using CommandHandler = int (*)(const CommandCall& call);

// The handler of a mnemonic; nullptr for a pair that is not a command or whose handler
// is not built yet (both are unknown commands to the dispatcher).
CommandHandler FindHandler(char first, char second);

// Counts the changes made by ReplaceHandler, so that whoever keeps a looked-up handler
// knows when to look again.
extern uint32_t g_commandTableGeneration;

// Puts a different handler in place of a mnemonic's (nullptr removes it) and returns the
// one it replaced. For tests that need a command with a particular effect.
CommandHandler ReplaceHandler(std::string_view mnemonic, CommandHandler handler);

}  // namespace velcrum
