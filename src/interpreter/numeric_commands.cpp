// The numeric commands.
#include "interpreter/numeric_commands.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "interpreter/arguments.h"
#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/script_random.h"
#include "interpreter/variables.h"
#include "platform/ascii_case.h"

namespace velcrum {
namespace {

constexpr char kNoNumericTarget[] = "numeric return target not specified.";
constexpr char kNoStringTarget[] = "string return target not specified.";

// Whether the variable-only check of the target gates the command (NS, NM, NL, NT) or
// only reports (NA).
enum class TargetCheck { kReport, kGate };

// "XX a b target%": target = op(a, b).
template <typename Operation>
int BinaryOperation(const CommandCall& call, TargetCheck targetCheck, Operation op) {
  GetArguments(call.text, 3);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  CheckNumericParam(cmd, 2, false, false, call.text);
  const bool targetUsable = CheckNumericParam(cmd, 3, true, false, call.text);
  if (targetCheck == TargetCheck::kGate && !targetUsable) return 0;
  if (IsIntVarParam(cmd, 3)) ParamIntVar(3) = op(ParamValue(1), ParamValue(2));
  return 0;
}

// "XX value target%": target = value, the target's check gating.
int Assignment(const CommandCall& call) {
  GetArguments(call.text, 2);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  if (!CheckNumericParam(cmd, 2, true, false, call.text)) return 0;
  if (IsIntVarParam(cmd, 2)) ParamIntVar(2) = ParamValue(1);
  return 0;
}

bool StartsWithEither(std::string_view text, std::string_view word, std::string_view symbol) {
  return text.starts_with(word) || text.starts_with(symbol);
}

// Reads the hexadecimal digits after "0x" as the C library's "%x" did on the 32-bit
// system: digits accumulate into 32 bits (wrapping), reading stops at the first
// character that is not a hexadecimal digit, and no digit at all reads as 0.
int32_t ReadHexadecimal(std::string_view digits) {
  uint32_t value = 0;
  for (const char c : digits) {
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      break;
    }
    value = (value << 4) | digit;
  }
  return static_cast<int32_t>(value);
}

// NC, text to number: "NC text$ target%".
int TextToNumber(const CommandCall& call) {
  GetArguments(call.text, 2);
  const std::string_view cmd = Mnemonic(call);
  CheckStringParam(cmd, 1, false, false, call.text);
  if (!CheckNumericParam(cmd, 2, true, false, call.text)) return 0;
  if (!IsNumericParam(cmd, 2) && !CheckParamLength(call, 1)) return 0;
  const std::string_view text(ParamText(1), static_cast<size_t>(ParamTextLength(1)));
  // "0x" and at least one more character is the language's one hexadecimal form.
  const bool hexadecimal = text.size() >= 3 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const int32_t value = hexadecimal ? ReadHexadecimal(text.substr(2)) : ReadDecimal(text);
  if (IsIntVarParam(cmd, 2)) {
    ParamIntVar(2) = value;
  } else {
    ReportParamWarning(cmd, 2, call.text, kNoNumericTarget);
  }
  return 0;
}

// NC, number to text: "NC number target$".
int NumberToText(const CommandCall& call) {
  GetArguments(call.text, 2);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  if (!CheckStringParam(cmd, 2, true, false, call.text)) return 0;
  if (!CheckParamLength(call, 2)) return 0;
  if (IsStringVarParam(cmd, 2)) {
    SetStringVariable(ParamVarIndex(2), Format("%ld", static_cast<long>(ParamValue(1))));
  } else {
    ReportParamWarning(cmd, 2, call.text, kNoStringTarget);
  }
  return 0;
}

}  // namespace

int ExecNA(const CommandCall& call) {
  return BinaryOperation(call, TargetCheck::kReport,
                         [](int32_t a, int32_t b) { return WrapAdd(a, b); });
}

int ExecNS(const CommandCall& call) {
  return BinaryOperation(call, TargetCheck::kGate,
                         [](int32_t a, int32_t b) { return WrapSub(a, b); });
}

int ExecNM(const CommandCall& call) {
  return BinaryOperation(call, TargetCheck::kGate,
                         [](int32_t a, int32_t b) { return WrapMul(a, b); });
}

int ExecNL(const CommandCall& call) {
  return Assignment(call);
}

// NT reads its source through the variable that parameter 1 names. The parsed value of
// an integer variable is that variable's value, so the value is used; for a source that
// is not an integer variable, this makes NT copy the parameter's value as NL would.
int ExecNT(const CommandCall& call) {
  return Assignment(call);
}

int ExecND(const CommandCall& call) {
  GetArguments(call.text, 4);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  CheckNumericParam(cmd, 2, false, false, call.text);
  const int32_t a = ParamValue(1);
  const int32_t b = ParamValue(2);
  int32_t quotient = 0;
  int32_t remainder = 0;
  if (a != 0 && b != 0) {
    if (a == std::numeric_limits<int32_t>::min() && b == -1) {
      // The one quotient that does not fit: it wraps to itself, as negating the most
      // negative number does, and the division is exact.
      quotient = a;
    } else {
      quotient = a / b;
      remainder = a % b;  // a - quotient * b, with the sign of a
    }
  }
  for (const auto& [n, value] : {std::pair{3, quotient}, std::pair{4, remainder}}) {
    if (IsIntVarParam(cmd, n)) {
      ParamIntVar(n) = value;
    } else {
      ReportParamWarning(cmd, n, call.text, kNoNumericTarget);
    }
  }
  return 0;
}

int ExecNR(const CommandCall& call) {
  GetArguments(call.text, 3);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  CheckNumericParam(cmd, 2, false, false, call.text);
  const auto low = static_cast<uint32_t>(ParamValue(1));
  const auto high = static_cast<uint32_t>(ParamValue(2));
  if (low >= high) return 0;
  // The span is high - low + 1 on 32 bits. The widest range, 0 to 0xFFFFFFFF, wraps the
  // span to 0: every number the generator gives lies within it, so it is used as it is
  // rather than divided by zero.
  const uint32_t span = high - low + 1;
  const auto random = static_cast<uint32_t>(NextScriptRandom());
  const uint32_t offset = span == 0 ? random : random % span;
  if (IsIntVarParam(cmd, 3)) ParamIntVar(3) = static_cast<int32_t>(low + offset);
  return 0;
}

int ExecNB(const CommandCall& call) {
  GetArguments(call.text, 4);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  CheckStringParam(cmd, 2, false, true, call.text);
  CheckNumericParam(cmd, 3, false, false, call.text);
  if (!CheckParamLength(call, 2)) return 0;
  if (ParamTextLength(1) == 0) {
    ReportParamWarning(cmd, 1, call.text, "string is length zero.");
    return 0;
  }
  const std::string op =
      LowerAsciiText(std::string_view(ParamText(2), static_cast<size_t>(ParamTextLength(2))));
  const auto a = static_cast<uint32_t>(ParamValue(1));
  const int32_t b = ParamValue(3);
  const bool bitIndex = b >= 0 && b <= 31;
  const bool shift = b >= 1 && b <= 31;

  uint32_t result;
  if (StartsWithEither(op, "and", "&")) {
    result = a & static_cast<uint32_t>(b);
  } else if (StartsWithEither(op, "or", "|")) {
    result = a | static_cast<uint32_t>(b);
  } else if (StartsWithEither(op, "xor", "^")) {
    result = a ^ static_cast<uint32_t>(b);
  } else if (StartsWithEither(op, "not", "~")) {
    // The complement within the low b bits: 0 or 32 and more mean all 32, negative none.
    uint32_t mask;
    if (b < 0) {
      mask = 0;
    } else if (b == 0 || b >= 32) {
      mask = 0xffffffffu;
    } else {
      mask = (1u << b) - 1;
    }
    result = mask & ~a;
  } else if (StartsWithEither(op, "sr", ">>")) {
    result = b == 0 ? a : shift ? a >> b : 0;
  } else if (StartsWithEither(op, "sl", "<<")) {
    result = b == 0 ? a : shift ? a << b : 0;
  } else if (op.starts_with("set")) {
    if (!bitIndex) return 0;
    result = a | (1u << b);
  } else if (op.starts_with("clr")) {
    if (!bitIndex) return 0;
    result = a & ~(1u << b);
  } else if (op.starts_with("test")) {
    if (!bitIndex) return 0;
    result = (a >> b) & 1u;
  } else {
    DebugOut("NB: not supported operator");
    return 0;
  }
  if (IsIntVarParam(cmd, 4)) ParamIntVar(4) = static_cast<int32_t>(result);
  return 0;
}

int ExecNC(const CommandCall& call) {
  // The command's own text decides the direction: whichever of "$" and "%" comes first.
  const size_t marker = call.text.find_first_of("$%");
  if (marker == std::string_view::npos) return 0;
  return call.text[marker] == '$' ? TextToNumber(call) : NumberToText(call);
}

int ExecNF(const CommandCall& call) {
  GetArguments(call.text, 4);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  CheckStringParam(cmd, 2, false, true, call.text);
  CheckStringParam(cmd, 3, false, false, call.text);
  // The target is checked twice over, as it always has been (its messages appear twice).
  const bool targetUsable = CheckStringParam(cmd, 4, true, false, call.text);
  if (!CheckStringParam(cmd, 4, true, false, call.text) || !targetUsable) return 0;
  if (!CheckParamLength(call, 2) || !CheckParamLength(call, 3)) return 0;

  std::string result(ParamText(2), static_cast<size_t>(ParamTextLength(2)));
  const std::string_view number(ParamText(1), static_cast<size_t>(ParamTextLength(1)));
  // An empty fill text would put a string terminator into the template and cut the
  // result short at the first "#"; a space fills instead.
  const char fill = ParamTextLength(3) > 0 ? ParamText(3)[0] : ' ';

  // A template without "#" has no positions for the number: it is stored unchanged.
  const size_t first = result.find('#');
  if (first != std::string::npos) {
    const auto count = static_cast<size_t>(std::count(result.begin(), result.end(), '#'));
    // Every "#" lies at or after the first, so the run fits in the template.
    std::fill_n(result.begin() + static_cast<std::ptrdiff_t>(first), count, fill);
    // The number ends at the last overwritten position. A number longer than the
    // positions up to there keeps its last characters: what would fall before the
    // start of the template is dropped.
    const size_t end = first + count;
    const size_t length = std::min(number.size(), end);
    result.replace(end - length, length, number.substr(number.size() - length));
  }
  if (IsStringVarParam(cmd, 4)) SetStringVariable(ParamVarIndex(4), result);
  return 0;
}

namespace {

constexpr CommandEntry kRows[] = {
    {"NA", ExecNA}, {"NB", ExecNB}, {"NC", ExecNC}, {"ND", ExecND}, {"NF", ExecNF},
    {"NL", ExecNL}, {"NM", ExecNM}, {"NR", ExecNR}, {"NS", ExecNS}, {"NT", ExecNT},
};

}  // namespace

const CommandTable kNumericCommands = kRows;

}  // namespace velcrum
