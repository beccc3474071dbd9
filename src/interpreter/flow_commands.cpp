// The flow-control commands.
#include "interpreter/flow_commands.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/arguments.h"
#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/nested_run.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/script_store.h"
#include "platform/ascii_case.h"

namespace velcrum {
namespace {

constexpr char kOffsetOutOfRange[] = "Offset calculation result: line number is out of range.";

// A line-number parameter: 0 to 32767.
bool CheckLineParam(const CommandCall& call, int n) {
  return CheckParamRange(call, n, 0, kHighestJumpTarget);
}

// Jumps to the line when it is positive; 0 (or less) means no jump and lets the line
// go on.
int JumpTo(int32_t line) {
  if (line <= 0) return 0;
  iJumpPending = line;
  return 1;
}

// A computed target (JO, JG): 1 to 32767 jumps, 0 is silently nothing, anything else
// is reported.
int JumpToComputed(const CommandCall& call, int32_t target) {
  if (target >= 1 && target <= kHighestJumpTarget) return JumpTo(target);
  if (target != 0) ReportWarning(Mnemonic(call), kOffsetOutOfRange);
  return 0;
}

// The two-number comparisons JE and JL: numeric checks of the operands, range checks of
// both line parameters, then the chosen line.
template <typename Chooser>
int CompareNumbers(const CommandCall& call, Chooser choose) {
  GetArguments(call.text, 4);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  CheckNumericParam(cmd, 2, false, false, call.text);
  if (!CheckLineParam(call, 3) || !CheckLineParam(call, 4)) return 0;
  return JumpTo(choose(ParamValue(1), ParamValue(2)) ? ParamValue(3) : ParamValue(4));
}

// The two-text comparisons JC and JI share their checks; JI also warns about empty
// texts, and only JC checks the kind of its first line parameter.
struct TextPair {
  std::string first;
  std::string second;
};

enum class TextChecks { kJC, kJI };

bool ReadTextPair(const CommandCall& call, TextChecks checks, TextPair& texts) {
  const std::string_view cmd = Mnemonic(call);
  const bool warnIfEmpty = checks == TextChecks::kJI;
  CheckStringParam(cmd, 1, false, warnIfEmpty, call.text);
  CheckStringParam(cmd, 2, false, warnIfEmpty, call.text);
  if (checks == TextChecks::kJC) CheckNumericParam(cmd, 3, false, false, call.text);
  if (!CheckParamLength(call, 1) || !CheckParamLength(call, 2)) return false;
  if (!CheckLineParam(call, 3) || !CheckLineParam(call, 4)) return false;
  texts.first.assign(ParamText(1), static_cast<size_t>(ParamTextLength(1)));
  texts.second.assign(ParamText(2), static_cast<size_t>(ParamTextLength(2)));
  return true;
}

// Splits a text at a separator the way the C library's strtok does: runs of
// separators count as one and empty pieces are never produced.
std::vector<std::string_view> SplitSkippingEmpty(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = text.find_first_not_of(separator, pos);
    if (start == std::string_view::npos) break;
    size_t end = text.find(separator, start);
    if (end == std::string_view::npos) end = text.size();
    pieces.push_back(text.substr(start, end - start));
    pos = end;
  }
  return pieces;
}

// JD's date value: day + 31 * month + 380 * year, from "day-month-year" with the month
// as an English three-letter abbreviation. The text has been padded with " 0 0 0 ",
// which guarantees three pieces for any text that is not all separators.
int32_t DateValue(std::string text) {
  std::replace_if(
      text.begin(), text.end(),
      [](char c) { return c == '/' || c == '\\' || c == '-' || c == ' '; }, '~');
  const std::vector<std::string_view> pieces = SplitSkippingEmpty(text, '~');
  const auto piece = [&](size_t i) { return i < pieces.size() ? pieces[i] : std::string_view(); };

  const int32_t day = ReadDecimal(piece(0));
  const std::string monthText = UpperAsciiText(piece(1).substr(0, 16));
  static constexpr std::array<const char*, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  int32_t month = 0;
  for (size_t m = 0; m < kMonths.size(); ++m) {
    if (monthText.find(kMonths[m]) != std::string::npos) {
      month = static_cast<int32_t>(m + 1);
      break;
    }
  }
  const int32_t year = ReadDecimal(piece(2));
  return WrapAdd(WrapAdd(day, WrapMul(31, month)), WrapMul(380, year));
}

// JT's time value in minutes: the first two characters are the hours, the minutes are
// the two characters after the separator (offset 3) or, without one, at offset 2.
int32_t TimeValue(std::string text) {
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == ':' || c == ';'; }, '~');
  const std::string_view view = text;
  const auto twoAt = [&](size_t offset) {
    return offset < view.size() ? view.substr(offset, 2) : std::string_view();
  };
  const int32_t hours = ReadDecimal(twoAt(0));
  const int32_t minutes = ReadDecimal(twoAt(view.find('~') != std::string_view::npos ? 3 : 2));
  return WrapAdd(WrapMul(hours, 60), minutes);
}

// A return line is a line of the script: 0 (the empty frame the shell pushes, which
// returns nowhere) to 32767, or EV's scratch line 32768 when a subroutine was called
// from an evaluated text.
bool IsReturnLine(int line) {
  return line >= 0 && line <= kEvaluationLine;
}

// Evaluated texts may evaluate texts in turn; each level costs a nested run on the
// machine stack, so a text that evaluates itself would exhaust it. Far deeper than any
// script nests, a further EV is refused instead.
constexpr int kMaxEvaluationDepth = 100;
int evaluationDepth = 0;

}  // namespace

int ExecJA(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  const int32_t line = ParamValue(1);
  if (line < 0 || line > kHighestJumpTarget) {
    ReportParamRange(Mnemonic(call), 1, call.text);
    return 0;
  }
  // Line 0 ends the current line without a jump.
  iJumpPending = line;
  return 1;
}

int ExecJE(const CommandCall& call) {
  return CompareNumbers(call, [](int32_t a, int32_t b) { return a == b; });
}

int ExecJL(const CommandCall& call) {
  return CompareNumbers(call, [](int32_t a, int32_t b) { return a < b; });
}

int ExecJC(const CommandCall& call) {
  GetArguments(call.text, 4);
  TextPair texts;
  if (!ReadTextPair(call, TextChecks::kJC, texts)) return 0;
  return JumpTo(texts.first == texts.second ? ParamValue(3) : ParamValue(4));
}

int ExecJI(const CommandCall& call) {
  GetArguments(call.text, 4);
  TextPair texts;
  if (!ReadTextPair(call, TextChecks::kJI, texts)) return 0;
  // An empty text occurs in every text.
  return JumpTo(texts.second.find(texts.first) != std::string::npos ? ParamValue(3)
                                                                    : ParamValue(4));
}

int ExecJO(const CommandCall& call) {
  GetArguments(call.text, 2);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  CheckNumericParam(Mnemonic(call), 2, false, false, call.text);
  return JumpToComputed(call, WrapAdd(ParamValue(1), ParamValue(2)));
}

int ExecJG(const CommandCall& call) {
  GetArguments(call.text, 3);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  CheckNumericParam(cmd, 2, false, false, call.text);
  CheckStringParam(cmd, 3, false, false, call.text);
  if (!CheckLineParam(call, 1) || !CheckLineParam(call, 2)) return 0;
  if (!CheckParamLength(call, 3)) return 0;
  if (ParamTextLength(3) == 0) {
    ReportParamWarning(cmd, 3, call.text, "string does not contain line numbers");
    if (IsStrictInspection()) return 0;
    ReportWarning(cmd, "VarList$ is zero length.");
    return 0;
  }
  const int32_t index = ParamValue(1);
  const int32_t offset = ParamValue(2);
  const std::string_view list(ParamText(3), static_cast<size_t>(ParamTextLength(3)));

  // Items are the pieces between commas, counted from 1; an empty piece reads as 0.
  // An item of value 0 ends the walk, so a list is cut short by its first 0.
  int32_t result = 0;
  size_t start = 0;
  for (int32_t k = 1;; ++k) {
    const size_t comma = list.find(',', start);
    const int32_t value = ReadDecimal(list.substr(start, comma - start));
    if (k == index) {
      result = value;
      break;
    }
    if (value == 0 || comma == std::string_view::npos) break;
    start = comma + 1;
  }
  if (result == 0) return 0;
  return JumpToComputed(call, WrapAdd(result, offset));
}

int ExecJD(const CommandCall& call) {
  GetArguments(call.text, 5);
  const std::string_view cmd = Mnemonic(call);
  CheckStringParam(cmd, 1, false, true, call.text);
  CheckStringParam(cmd, 2, false, true, call.text);
  if (!CheckParamLength(call, 1) || !CheckParamLength(call, 2)) return 0;
  for (int n = 3; n <= 5; ++n) {
    if (!CheckLineParam(call, n)) return 0;
  }
  const std::string date1(ParamText(1), static_cast<size_t>(ParamTextLength(1)));
  const std::string date2(ParamText(2), static_cast<size_t>(ParamTextLength(2)));
  const int32_t lineEqual = ParamValue(3);
  const int32_t lineEarlier = ParamValue(4);
  const int32_t lineLater = ParamValue(5);

  // A text that is no date at all decides at once: the first text counts as earlier,
  // else the second as earlier (the first as later). The pending line is set as it is,
  // so a line of 0 ends the current line without a jump.
  if (date1.find('-') == std::string::npos) {
    iJumpPending = lineEarlier;
    return 1;
  }
  if (date2.find('-') == std::string::npos) {
    iJumpPending = lineLater;
    return 1;
  }

  const std::string padded1 = date1 + " 0 0 0 ";
  const std::string padded2 = date2 + " 0 0 0 ";
  DebugOut(padded1);
  DebugOut(padded2);
  const int32_t value1 = DateValue(padded1);
  const int32_t value2 = DateValue(padded2);
  DebugOut(Format("1=%ld 2=%ld", static_cast<long>(value1), static_cast<long>(value2)));

  if (value1 == value2) {
    if (lineEqual < 0 || lineEqual > kHighestJumpTarget) ReportParamRange(cmd, 3, call.text);
    return JumpTo(lineEqual);
  }
  if (value1 > value2) return JumpTo(lineLater);
  if (lineEarlier < 0 || lineEarlier > kHighestJumpTarget) ReportParamRange(cmd, 4, call.text);
  return JumpTo(lineEarlier);
}

int ExecJT(const CommandCall& call) {
  GetArguments(call.text, 5);
  const std::string_view cmd = Mnemonic(call);
  CheckStringParam(cmd, 1, false, true, call.text);
  CheckStringParam(cmd, 2, false, true, call.text);
  for (int n = 3; n <= 5; ++n) CheckNumericParam(cmd, n, false, false, call.text);
  if (!CheckParamLength(call, 1) || !CheckParamLength(call, 2)) return 0;
  for (int n = 3; n <= 5; ++n) {
    if (!CheckLineParam(call, n)) return 0;
  }
  const int32_t value1 =
      TimeValue(std::string(ParamText(1), static_cast<size_t>(ParamTextLength(1))));
  const int32_t value2 =
      TimeValue(std::string(ParamText(2), static_cast<size_t>(ParamTextLength(2))));
  if (value1 == value2) return JumpTo(ParamValue(3));
  return JumpTo(value1 < value2 ? ParamValue(4) : ParamValue(5));
}

int ExecJS(const CommandCall& call) {
  // A full stack ignores the call: the line ends, nothing is pushed, no jump.
  if (g_iProcStackPtr >= kProcStackSize - 1) return 1;
  ++g_iProcStackPtr;
  g_iProcStack[g_iProcStackPtr] = ProcStackEntry{call.line, call.index + 1};

  GetArguments(call.text, 1);
  CheckNumericParam(Mnemonic(call), 1, false, false, call.text);
  const int32_t line = ParamValue(1);
  if (line < 1 || line > kHighestJumpTarget) {
    // The frame stays pushed; a later JR or a missing line takes it off.
    ReportParamRange(Mnemonic(call), 1, call.text);
    return 1;
  }
  g_bInSequence = true;
  iJumpPending = line;
  return 1;
}

int ExecJR(const CommandCall& call) {
  if (g_iProcStackPtr < 0) return 1;
  const ProcStackEntry& top = g_iProcStack[g_iProcStackPtr];
  iJumpPending = top.PROC_RET_LINE;
  if (!IsReturnLine(top.PROC_RET_LINE)) {
    ReportError(Mnemonic(call),
                "INTERNAL ERROR ---> 'JR' iJumpPending: line number is out of range.");
  }
  iCmdPending = top.resumeCommand;
  --g_iProcStackPtr;
  if (g_iProcStackPtr < 0) g_bInSequence = false;
  return 1;
}

int ExecEG(const CommandCall& call) {
  // A missing offset reads as 0.
  const std::string text = std::string(call.text) + " 0";
  GetArguments(text, 2);
  CheckNumericParam(Mnemonic(call), 1, false, false, text);
  CheckNumericParam(Mnemonic(call), 2, false, false, text);
  if (IsIntVarParam(Mnemonic(call), 1)) ParamIntVar(1) = WrapAdd(call.line, ParamValue(2));
  return 0;
}

int ExecEI(const CommandCall& /*call*/) {
  return 0;
}

int ExecEV(const CommandCall& call) {
  GetArguments(call.text, 1);
  CheckStringParam(Mnemonic(call), 1, false, false, call.text);
  if (!CheckParamLength(call, 1)) return 0;
  // The parameter table belongs to whichever command parses next: take the text first.
  const std::string text(ParamText(1), static_cast<size_t>(ParamTextLength(1)));
  if (evaluationDepth >= kMaxEvaluationDepth) {
    ReportError(Mnemonic(call), "Evaluation nested too deeply, text not run.");
    return 0;
  }

  // The nested run shares the executor's globals: the calling line gets its place back,
  // subroutine frames included, so that a return and a call inside the text cannot leave
  // a changed frame behind.
  const NestedRun keepPlace;
  // With exactly one frame, a JR in the text finds it blank and returns nowhere.
  if (g_iProcStackPtr == 0) g_iProcStack[0] = ProcStackEntry{};

  VLSTMSup_SetMem(kEvaluationLine, text);
  ++evaluationDepth;
  RunLine(kEvaluationLine, 0);
  --evaluationDepth;
  return 0;
}

namespace {

constexpr CommandEntry kRows[] = {
    {"EG", ExecEG}, {"EI", ExecEI}, {"EV", ExecEV}, {"JA", ExecJA}, {"JC", ExecJC},
    {"JD", ExecJD}, {"JE", ExecJE}, {"JG", ExecJG}, {"JI", ExecJI}, {"JL", ExecJL},
    {"JO", ExecJO}, {"JR", ExecJR}, {"JS", ExecJS}, {"JT", ExecJT},
};

}  // namespace

const CommandTable kFlowCommands = kRows;

}  // namespace velcrum
