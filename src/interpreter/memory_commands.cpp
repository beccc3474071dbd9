// The memory commands.
#include "interpreter/memory_commands.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/arguments.h"
#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/file_reports.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"
#include "platform/paths.h"

namespace velcrum {
namespace {

bool IsMemoryIndex(int64_t index) {
  return index >= 1 && index <= kIntegerMemoryCount;
}

// A range is worked on only when both bounds are memory indices and first <= last.
bool IsUsableRange(int32_t first, int32_t last) {
  return IsMemoryIndex(first) && IsMemoryIndex(last) && first <= last;
}

// The first step of screening range bounds: a bound below 1 or above 65537 is reported,
// and in strict inspection stops the command at once (false).
bool ScreenBound(const CommandCall& call, int n) {
  return CheckParamRange(call, n, 1, kIntegerMemoryCount + 1);
}

bool ScreenBounds(const CommandCall& call, int firstParam, int lastParam) {
  return ScreenBound(call, firstParam) && ScreenBound(call, lastParam);
}

// The second step, after the work: a bound above 65536 is reported (again).
void ReportBoundsAbove(const CommandCall& call, int firstParam, int lastParam) {
  for (const int n : {firstParam, lastParam}) {
    if (ParamValue(n) > kIntegerMemoryCount) ReportParamRange(Mnemonic(call), n, call.text);
  }
}

// ML's reduction of a range by its operator's letters: an optional leading "N" negates
// (logically) the result of "A" (all nonzero), "O" (any nonzero), "M?N" (the smallest
// value, never above 32767) or "M?X" (the largest, never below -32767). Anything else
// gives -1.
int32_t Reduce(std::string_view op, int32_t first, int32_t last, std::string_view cmd) {
  const bool negate = op.starts_with('N');
  if (negate) op.remove_prefix(1);
  const bool usable = IsUsableRange(first, last);
  int32_t result;
  if (op.starts_with('A')) {
    result = 1;
    for (int32_t i = first; usable && i <= last; ++i) {
      if (GetMem(cmd, i) == 0) {
        result = 0;
        break;
      }
    }
  } else if (op.starts_with('O')) {
    result = 0;
    for (int32_t i = first; usable && i <= last; ++i) {
      if (GetMem(cmd, i) != 0) {
        result = 1;
        break;
      }
    }
  } else if (op.starts_with('M') && op.size() >= 3 && op[2] == 'N') {
    result = 32767;
    for (int32_t i = first; usable && i <= last; ++i) result = std::min(result, GetMem(cmd, i));
  } else if (op.starts_with('M') && op.size() >= 3 && op[2] == 'X') {
    result = -32767;
    for (int32_t i = first; usable && i <= last; ++i) result = std::max(result, GetMem(cmd, i));
  } else {
    return -1;
  }
  return negate ? (result == 0 ? 1 : 0) : result;
}

using FilePointer = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Reads the next line of a memory file as a number. Lines are read through a buffer of
// 255 characters, of which a line's first 254 count; the rest of a longer line is read
// and dropped, so that it can never be taken for the next cell's line. False once the
// file is exhausted.
bool ReadMemoryLine(std::FILE* file, int32_t& value) {
  char buffer[255];
  if (!std::fgets(buffer, sizeof buffer, file)) return false;
  const size_t length = std::strlen(buffer);
  if (length == sizeof buffer - 1 && buffer[length - 1] != '\n') {
    int c;
    while ((c = std::fgetc(file)) != EOF && c != '\n') {
    }
  }
  value = ReadDecimal(buffer);
  return true;
}

void ReadMemoryFile(std::FILE* file, int32_t first, int32_t last, std::string_view cmd) {
  bool exhausted = false;
  for (int32_t i = first; i <= last; ++i) {
    int32_t value = 0;
    if (!exhausted) exhausted = !ReadMemoryLine(file, value);
    SetMem(cmd, i, exhausted ? 0 : value);
  }
}

// The contents of a memory file: each cell of the range as "%d\n".
std::string MemoryFileContents(int32_t first, int32_t last, std::string_view cmd) {
  std::string contents;
  for (int32_t i = first; i <= last; ++i) {
    contents += std::to_string(GetMem(cmd, i));
    contents += '\n';
  }
  return contents;
}

// MR: fills the range from the file.
void ReadNamedMemoryFile(const CommandCall& call, const std::string& name, int32_t first,
                         int32_t last) {
  const FilePointer file(OpenWindowsFile(name, "r"), std::fclose);
  if (!file) {
    ReportFileNotOpened(Mnemonic(call), 1, call.text, name);
    return;
  }
  ReadMemoryFile(file.get(), first, last, Mnemonic(call));
}

// MW: replaces the file whole, so that a failed write leaves the old one as it was.
void WriteNamedMemoryFile(const CommandCall& call, const std::string& name, int32_t first,
                          int32_t last) {
  ReplaceWindowsFileReported(Mnemonic(call), 1, call.text, name,
                             MemoryFileContents(first, last, Mnemonic(call)));
}

enum class FileDirection { kRead, kWrite };

// MR and MW: "XX file$ first last". The name is in the script notation of paths.
int MemoryFile(const CommandCall& call, FileDirection direction) {
  GetArguments(call.text, 3);
  const std::string_view cmd = Mnemonic(call);
  CheckStringParam(cmd, 1, false, true, call.text);
  CheckNumericParam(cmd, 2, false, false, call.text);
  CheckNumericParam(cmd, 3, false, false, call.text);
  if (!CheckParamLength(call, 1)) return 0;
  if (!ScreenBounds(call, 2, 3)) return 0;
  if (ParamTextLength(1) == 0) {
    ReportParamWarning(cmd, 1, call.text, "file name parameter is NULL");
    return 0;
  }
  const int32_t first = ParamValue(2);
  const int32_t last = ParamValue(3);
  // Without a usable range the file is not touched: MW in particular does not empty a
  // file it has nothing to write into.
  if (IsUsableRange(first, last)) {
    const std::string name = ScriptPathToWindows(ParamText(1));
    if (direction == FileDirection::kRead) {
      ReadNamedMemoryFile(call, name, first, last);
    } else {
      WriteNamedMemoryFile(call, name, first, last);
    }
  }
  ReportBoundsAbove(call, 2, 3);
  return 0;
}

}  // namespace

int ExecMP(const CommandCall& call) {
  GetArguments(call.text, 2);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  CheckNumericParam(cmd, 2, false, false, call.text);
  if (IsMemoryIndex(ParamValue(2))) {
    SetMem(cmd, ParamValue(2), ParamValue(1));
  } else {
    ReportParamRange(cmd, 2, call.text);
  }
  return 0;
}

int ExecMG(const CommandCall& call) {
  GetArguments(call.text, 2);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  if (!CheckNumericParam(cmd, 2, true, false, call.text)) return 0;
  if (!IsMemoryIndex(ParamValue(1))) {
    ReportParamRange(cmd, 1, call.text);
    return 0;
  }
  if (IsIntVarParam(cmd, 2)) ParamIntVar(2) = GetMem(cmd, ParamValue(1));
  return 0;
}

int ExecMI(const CommandCall& call) {
  GetArguments(call.text, 1);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  const int32_t index = ParamValue(1);
  if (IsMemoryIndex(index)) {
    SetMem(cmd, index, WrapAdd(GetMem(cmd, index), 1));
  } else {
    ReportParamRange(cmd, 1, call.text);
  }
  return 0;
}

int ExecMD(const CommandCall& call) {
  GetArguments(call.text, 1);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  const int32_t index = ParamValue(1);
  if (!IsMemoryIndex(index)) {
    ReportParamRange(cmd, 1, call.text);
    if (IsStrictInspection()) return 0;
  }
  // Outside the range GetMem reports and reads 0, which cannot be decremented.
  const int64_t decremented = int64_t{GetMem(cmd, index)} - 1;
  if (decremented < 0) {
    ReportWarning(cmd, "No location specified.");
    return 0;
  }
  SetMem(cmd, index, static_cast<int32_t>(decremented));
  return 0;
}

int ExecMS(const CommandCall& call) {
  GetArguments(call.text, 3);
  const std::string_view cmd = Mnemonic(call);
  for (int n = 1; n <= 3; ++n) CheckNumericParam(cmd, n, false, false, call.text);
  const int32_t value = ParamValue(1);
  const int32_t first = ParamValue(2);
  const int32_t last = ParamValue(3);
  if (IsUsableRange(first, last)) {
    for (int32_t i = first; i <= last; ++i) SetMem(cmd, i, value);
  }
  ReportBoundsAbove(call, 2, 3);
  return 0;
}

int ExecMF(const CommandCall& call) {
  GetArguments(call.text, 4);
  const std::string_view cmd = Mnemonic(call);
  for (int n = 1; n <= 4; ++n) CheckNumericParam(cmd, n, false, false, call.text);
  if (!ScreenBounds(call, 2, 3)) return 0;
  const int32_t value = ParamValue(1);
  const int32_t first = ParamValue(2);
  const int32_t last = ParamValue(3);
  const bool target = IsIntVarParam(cmd, 4);
  if (target) ParamIntVar(4) = 0;
  if (IsUsableRange(first, last)) {
    for (int32_t i = first; i <= last; ++i) {
      if (GetMem(cmd, i) == value) {
        if (target) ParamIntVar(4) = i;
        break;
      }
    }
  }
  ReportBoundsAbove(call, 2, 3);
  return 0;
}

int ExecML(const CommandCall& call) {
  GetArguments(call.text, 4);
  const std::string_view cmd = Mnemonic(call);
  CheckStringParam(cmd, 1, false, true, call.text);
  CheckNumericParam(cmd, 2, false, false, call.text);
  CheckNumericParam(cmd, 3, false, false, call.text);
  if (!CheckNumericParam(cmd, 4, true, false, call.text)) return 0;
  if (!CheckParamLength(call, 1)) return 0;
  if (!ScreenBounds(call, 2, 3)) return 0;
  const std::string op(ParamText(1), static_cast<size_t>(ParamTextLength(1)));
  const int32_t result = Reduce(op, ParamValue(2), ParamValue(3), cmd);
  if (IsIntVarParam(cmd, 4)) ParamIntVar(4) = result;
  ReportBoundsAbove(call, 2, 3);
  return 0;
}

int ExecMM(const CommandCall& call) {
  GetArguments(call.text, 3);
  const std::string_view cmd = Mnemonic(call);
  for (int n = 1; n <= 3; ++n) CheckNumericParam(cmd, n, false, false, call.text);
  for (int n = 1; n <= 3; ++n) {
    if (!ScreenBound(call, n)) return 0;
  }
  const int32_t first = ParamValue(1);
  const int32_t last = ParamValue(2);
  const int64_t destination = ParamValue(3);
  for (const int n : {1, 2}) {
    if (!IsMemoryIndex(ParamValue(n))) {
      ReportParamRange(cmd, n, call.text);
      return 0;
    }
  }
  if (first > last) return 0;
  // All values are read before any is written, so overlapping ranges copy the old values.
  std::vector<int32_t> values;
  values.reserve(static_cast<size_t>(last - first + 1));
  for (int32_t i = first; i <= last; ++i) values.push_back(GetMem(cmd, i));
  for (size_t k = 0; k < values.size(); ++k) {
    const int64_t to = destination + static_cast<int64_t>(k);
    if (to > kIntegerMemoryCount) break;
    SetMem(cmd, static_cast<int>(to), values[k]);
  }
  return 0;
}

int ExecMA(const CommandCall& call) {
  GetArguments(call.text, 3);
  const std::string_view cmd = Mnemonic(call);
  CheckNumericParam(cmd, 1, false, false, call.text);
  CheckNumericParam(cmd, 2, false, false, call.text);
  CheckStringParam(cmd, 3, false, false, call.text);
  for (const int n : {1, 2}) {
    if (!IsMemoryIndex(ParamValue(n))) {
      ReportParamRange(cmd, n, call.text);
      return 0;
    }
  }
  const int32_t first = ParamValue(1);
  const int32_t last = ParamValue(2);
  if (first > last || !IsStringVarParam(cmd, 3)) return 0;
  // Values and single spaces, as many whole pieces as a string variable holds.
  std::string list;
  for (int32_t i = first; i <= last; ++i) {
    const std::string piece = Format("%ld ", static_cast<long>(GetMem(cmd, i)));
    if (list.size() + piece.size() > static_cast<size_t>(kMaxStringLength)) break;
    list += piece;
  }
  if (!list.empty()) list.pop_back();
  SetStringVariable(ParamVarIndex(3), list);
  return 0;
}

int ExecMR(const CommandCall& call) {
  return MemoryFile(call, FileDirection::kRead);
}

int ExecMW(const CommandCall& call) {
  return MemoryFile(call, FileDirection::kWrite);
}

namespace {

constexpr CommandEntry kRows[] = {
    {"MA", ExecMA}, {"MD", ExecMD}, {"MF", ExecMF}, {"MG", ExecMG}, {"MI", ExecMI}, {"ML", ExecML},
    {"MM", ExecMM}, {"MP", ExecMP}, {"MR", ExecMR}, {"MS", ExecMS}, {"MW", ExecMW},
};

}  // namespace

const CommandTable kMemoryCommands = kRows;

}  // namespace velcrum
