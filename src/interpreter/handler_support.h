// Small checks that many command handlers share: the mnemonic of a call, the length
// check of a text parameter and the range check of a numeric parameter.
//
// Each reports through the parameter reports of parameter_checks.h and answers whether
// the handler may go on: only strict inspection stops a handler after such a problem.
#pragma once

#include <cstdint>
#include <string_view>

#include "interpreter/arguments.h"
#include "interpreter/command_table.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"

namespace velcrum {

// The two letters that name the running command, as the reports want them.
inline std::string_view Mnemonic(const CommandCall& call) {
  return call.text.substr(0, 2);
}

// A text parameter longer than a string variable can hold: "string exceeds max length
// (255)". False when the handler must stop (strict inspection).
inline bool CheckParamLength(const CommandCall& call, int n) {
  if (ParamTextLength(n) <= kMaxStringLength) return true;
  ReportParamWarning(Mnemonic(call), n, call.text, "string exceeds max length (255)");
  return !IsStrictInspection();
}

// A numeric parameter outside low to high gets ReportParamRange. False when the
// handler must stop (strict inspection).
inline bool CheckParamRange(const CommandCall& call, int n, int64_t low, int64_t high) {
  const int64_t value = ParamValue(n);
  if (value >= low && value <= high) return true;
  ReportParamRange(Mnemonic(call), n, call.text);
  return !IsStrictInspection();
}

// Two's-complement arithmetic on script integers: the operation is done on 32-bit
// unsigned values and the bits read back as signed, so overflow wraps as it did on the
// original 32-bit machine.
inline int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t WrapSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t WrapMul(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

}  // namespace velcrum
