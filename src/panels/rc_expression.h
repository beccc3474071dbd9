// The names a resource script #defines, and the integer expressions that #if lines and
// resource identifiers are made of (IDS_BASE+1, (WM_USER+100), 0x7FFF, defined(X) ...).
//
// Arithmetic is that of rc's 32-bit long: every result wraps to 32 bits. Evaluation
// never fails hard: a bad expression gives an error text for the caller to report.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "panels/rc_lexer.h"

namespace velcrum {

struct RcMacro {
  std::vector<RcToken> body;
  bool functionLike = false;        // #define NAME(args) ...: expanded where it is called
  std::vector<std::string> params;  // its parameters' names
};

using RcDefines = std::map<std::string, RcMacro>;

// The names that the expressions of one script (its #if lines, identifiers and the macros
// used in its resource text together) may expand in all, each name counting one and one
// for each token of its definition: eight for each of the 32768 script lines a string
// table can hold.
// A real script expands a few per expression; names defined in terms of others can need
// exponentially many (A1 is (A0+A0), A2 is (A1+A1), ...), and past this bound their
// expressions fail instead of stalling the reader.
inline constexpr int64_t kMaxRcExpansions = int64_t{1} << 18;

// Evaluates the expression that starts at tokens[pos] and advances pos past it; it ends
// at the first token that cannot continue it (a comma, a string, the end). In #if lines
// (`preprocessor`) "defined" is understood and a name that is not defined counts as 0;
// elsewhere such a name is an error. A name the script does not define may be one of the
// SDK's constants (rc_sdk_constants.h), which has its value in both. Each name expanded
// takes its cost from `expansionsLeft`, the script's share of kMaxRcExpansions. False with
// `error` set when there is no valid expression or the expansions are used up.
bool EvaluateRcExpression(const std::vector<RcToken>& tokens, size_t& pos, const RcDefines& defines,
                          bool preprocessor, int32_t& value, std::string& error,
                          int64_t& expansionsLeft);

}  // namespace velcrum
