// Parsing one command's parameters into the global parameter table, and reading them.
//
// A handler calls GetArguments once, first, with the number of parameters it expects,
// then reads the typed slots. The table describes the most recent call only, so a
// handler reads what it needs before it runs anything that may parse another command.
#pragma once

#include <cstdint>
#include <string_view>

#include "interpreter/variables.h"

namespace velcrum {

enum class ParamKind : uint8_t {
  kNone = 0,
  kStringLiteral = 1,
  kNumericLiteral = 2,
  kStringVariable = 3,
  kIntegerVariable = 4,
  kBareWord = 5,
};

inline constexpr int kParamSlots = 52;
inline constexpr int kParamTextLimit = 512;

// How many parameters of each kind the last command held (the extension interface
// hands these on); numeric literals and bare words count together.
struct ParamKindCounts {
  int stringLiterals = 0;
  int numericLiteralsAndWords = 0;
  int stringVariables = 0;
  int integerVariables = 0;
};

// Parses the parameters of a command (mnemonic included; parameters begin at its fourth
// character), filling at most `expected` slots. Never fails: whatever is missing is of
// kind none, and surplus parameters are not parsed.
void GetArguments(std::string_view command, int expected);

// The parameter table itself. Handlers read it through the accessors below, which are
// inline because every command reads several parameters.
namespace param_table {

struct Slot {
  ParamKind kind = ParamKind::kNone;
  bool empty = false;        // an empty string literal or string variable
  bool textPending = false;  // an integer variable whose "%ld" text is not written yet
  uint8_t varIndex = 0;
  int32_t value = 0;
  int length = 0;
  const char* text = "";  // NUL-terminated, at most 512 characters
};

// The slots of the table that hold each group of kinds the parameter checks accept, a
// bit per slot number. The kinds depend only on the command's text, so these are worked
// out with the table (for a kept command once per expected count) and a check whose
// parameter is of an accepted kind reads one bit. The checks take parameters 1 to 19,
// so the masks hold slots 1 to 31 and say nothing of the rest.
struct KindMasks {
  uint32_t numeric = 0;          // integer variables and numeric literals
  uint32_t integerVariable = 0;  // integer variables
  uint32_t text = 0;             // string variables, string literals and bare words
  uint32_t stringVariable = 0;   // string variables
};
inline constexpr int kKindMaskSlots = 31;

// A parameter table: slots 1 to `limit` of `slots`, their kinds in `kinds`; every other
// number reads as the empty slot g_noSlot. Every table has slots 1 to kDirectSlots at
// least, those beyond its parameters reading as empty, so that the few parameters most
// commands have are read without a look at the limit.
struct Table {
  Slot* slots = nullptr;
  unsigned limit = 0;
  int count = 0;  // what ParamCount answers
  KindMasks kinds;
};
inline constexpr int kDirectSlots = 8;

// The table in use: the parser's own slots, or those of a kept command (see
// preparsed_arguments.h). A kept command's table is set by copying it in whole.
extern Table g_current;
extern const Slot g_noSlot;

// Whether slot n's bit is set in the mask; false for a number outside 1 to 31.
inline bool HasBit(uint32_t mask, int n) {
  return static_cast<unsigned>(n) <= kKindMaskSlots &&
         ((mask >> static_cast<unsigned>(n)) & 1) != 0;
}

inline const Slot& At(int n) {
  if (n >= 1 && n <= kDirectSlots) return g_current.slots[n];
  return static_cast<unsigned>(n - 1) < g_current.limit ? g_current.slots[n] : g_noSlot;
}

// Writes the text of an integer-variable slot and answers the slot.
const Slot& WritePendingText(int n);

inline const Slot& WithText(int n) {
  const Slot& slot = At(n);
  return slot.textPending ? WritePendingText(n) : slot;
}

}  // namespace param_table

// Slots are numbered from 1. A number outside 1 to 52 reads as an empty slot of kind
// none; writing through ParamIntVar/ParamStringVar needs IsIntVarParam/IsStringVarParam.
inline int ParamCount() {
  return param_table::g_current.count;
}
ParamKindCounts ParamCounts();
// NUL-terminated, at most 512 characters; valid until the next GetArguments.
inline const char* ParamText(int n) {
  return param_table::WithText(n).text;
}
inline int ParamTextLength(int n) {
  return param_table::WithText(n).length;
}
inline int32_t ParamValue(int n) {
  return param_table::At(n).value;
}
inline ParamKind GetParamKind(int n) {
  return param_table::At(n).kind;
}
inline bool ParamIsEmpty(int n) {
  return param_table::At(n).empty;
}
inline int ParamVarIndex(int n) {
  return param_table::At(n).varIndex;
}
inline int32_t& ParamIntVar(int n) {
  return g_lIntegerVariables[param_table::At(n).varIndex];
}
// The variable's 256-byte field.
inline char* ParamStringVar(int n) {
  return g_szStringVariables[param_table::At(n).varIndex];
}

}  // namespace velcrum
