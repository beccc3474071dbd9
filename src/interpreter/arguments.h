// Parsing one command's parameters into the global parameter table, and reading them.
//
// A handler calls GetArguments once, first, with the number of parameters it expects,
// then reads the typed slots. The table describes the most recent call only, so a
// handler reads what it needs before it runs anything that may parse another command.
#pragma once

#include <cstdint>
#include <string_view>

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

// Slots are numbered from 1. A number outside 1 to 52 reads as an empty slot of kind
// none; writing through ParamIntVar/ParamStringVar needs IsIntVarParam/IsStringVarParam.
int ParamCount();
const ParamKindCounts& ParamCounts();
const char* ParamText(int n);  // NUL-terminated, at most 512 characters
int ParamTextLength(int n);
int32_t ParamValue(int n);
ParamKind GetParamKind(int n);
bool ParamIsEmpty(int n);
int ParamVarIndex(int n);
int32_t& ParamIntVar(int n);
char* ParamStringVar(int n);  // the variable's 256-byte field

}  // namespace velcrum
