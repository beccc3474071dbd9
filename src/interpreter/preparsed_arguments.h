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
  // The table: slots 1 to count as the tokens fill them, and empty ones up to
  // kDirectSlots at least; the texts of literals and words point at `texts`, the
  // variables are read into them on each use. A binding that takes fewer slots than
  // there are tokens empties the rest, and `tokenSlots` keeps them as the tokens filled
  // them (made when a binding first needs it).
  std::vector<param_table::Slot> slots;
  std::vector<param_table::Slot> tokenSlots;
  std::vector<std::string> texts;  // of each token, at most 512 characters
  // The variables among the slots, in slot order: the integer variables' slots (`slots`
  // is sized once, so they stay where they are, moves included) and the string
  // variables' slot numbers.
  std::vector<param_table::Slot*> integerVariables;
  std::vector<int> stringVariables;
  bool lastEndsText = false;  // the last token is a string literal that ended the text
  ParserRepairs repairs;

  // What GetArguments makes of the tokens for one expected count. It depends on nothing
  // but the tokens and that count, and a command's handler asks for the same count on
  // every run as a rule, so it is worked out again only when a call asks for another.
  struct Binding {
    int expected = 0;  // the count asked for (before clamping)
    // `expected` when GetArguments needs nothing but to read the integer variables and
    // copy the table in (no string variables, no repair to report); otherwise a value no
    // count has.
    int64_t quietExpected = kNoCount;
    param_table::Table table;  // its limit is the number of slots taken
    int integerVariables = 0;  // of them, within the table
    int stringVariables = 0;
    static constexpr int64_t kNoCount = INT64_MIN;
  };
  Binding binding;  // made for -1 (an empty table) by PreparseArguments
};

// Tokenizes the command as GetArguments would with the most slots, writing nothing.
PreparsedArguments PreparseArguments(std::string_view command);

// The kept tokens of the command the executor is dispatching, or nullptr.
extern PreparsedArguments* g_pDispatchedArguments;

}  // namespace velcrum
