// A command's parameters tokenized once, for a command that runs again and again.
//
// Parsing a command's text always gives the same tokens; only the variables they name
// are read anew on every run. The executor keeps the tokens of each command of the lines
// it runs and, while it dispatches a command, points g_pDispatchedArguments at them.
// GetArguments then takes the tokens instead of parsing again, provided that it was
// called with that very command text (the same characters at the same address);
// otherwise it parses as always. Either way every accessor answers the same, and the
// parser writes the same output: its messages depend only on the text and the slots.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/arguments.h"

namespace velcrum {

// What the parser repaired in a command's text before reading its parameters; each
// repair has its message.
struct ParserRepairs {
  bool spaceInserted = false;    // after the mnemonic
  bool quotesConverted = false;  // typographic single quotes made plain
};

struct PreparsedArguments {
  PreparsedArguments() = default;
  PreparsedArguments(PreparsedArguments&&) = default;
  PreparsedArguments& operator=(PreparsedArguments&&) = default;
  // While its slots are the parameter table, the parser's own take their place.
  ~PreparsedArguments();

  std::string_view command;  // the text the tokens stand for; its owner keeps it alive
  int count = 0;             // parameters in the text, at most 52
  // Slots 1 to count as the tokens fill them; the texts of literals and words point at
  // `texts`, the variables are read into them on each use.
  std::vector<param_table::Slot> slots;
  std::vector<std::string> texts;  // of each token, at most 512 characters
  // The slot numbers of the variables among the slots, in slot order.
  std::vector<int> integerVariables;
  std::vector<int> stringVariables;
  bool lastEndsText = false;  // the last token is a string literal that ended the text
  ParserRepairs repairs;

  // What GetArguments makes of the tokens for one expected count. It depends on nothing
  // but the tokens and that count, and a command's handler asks for the same count on
  // every run as a rule, so it is worked out again only when a call asks for another.
  struct Binding {
    // The count asked for (before clamping). Initially -1 with an empty table, which is
    // what any count below 1 gives.
    int expected = -1;
    int taken = 0;  // the slots that make the table
    int paramCount = 0;
    int integerVariables = 0;  // of them, within the table
    int stringVariables = 0;
    param_table::KindMasks kinds;  // of the slots within the table
  };
  Binding binding;
};

// Tokenizes the command as GetArguments would with the most slots, writing nothing.
PreparsedArguments PreparseArguments(std::string_view command);

// The kept tokens of the command the executor is dispatching, or nullptr.
extern PreparsedArguments* g_pDispatchedArguments;

}  // namespace velcrum
