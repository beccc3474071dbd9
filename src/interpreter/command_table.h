// The dispatcher's table: the 223 two-letter mnemonics of the command set and the handler
// registered for each.
//
// The interpreter knows no handler of its own accord. Each command group exports a
// CommandTable of {mnemonic, handler} rows from its own directory, and the program that
// runs scripts registers the groups it links (through its modules). A mnemonic with no
// registered handler is an unknown command to the dispatcher.
#pragma once

#include <cstdint>
#include <span>
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

// One row of a command group's table.
struct CommandEntry {
  std::string_view mnemonic;
  CommandHandler handler;
};

using CommandTable = std::span<const CommandEntry>;

// The 223 mnemonics, by letter group.
std::span<const std::string_view> Mnemonics();
bool IsMnemonic(std::string_view text);

// Puts every row's handler in place of its mnemonic's. False when a row names no mnemonic
// of the command set (that row is left out).
bool RegisterCommands(CommandTable table);

// Unregisters every handler.
void ClearCommands();

// The handler of a mnemonic; nullptr for a pair that is not a command or whose handler
// is not registered (both are unknown commands to the dispatcher).
CommandHandler FindHandler(char first, char second);

// Counts the changes of registration, so that whoever keeps a looked-up handler knows
// when to look again.
extern uint32_t g_commandTableGeneration;

// Puts a different handler in place of a mnemonic's (nullptr removes it) and returns the
// one it replaced. For tests that need a command with a particular effect.
CommandHandler ReplaceHandler(std::string_view mnemonic, CommandHandler handler);

}  // namespace velcrum
