// The T group of script commands: in-place editors of string variables, splitting and
// joining texts, and appending text to files.
//
// Every handler follows the same pattern: parse with GetArguments, check each parameter's
// kind (a target of the wrong kind stops the command), test the length of the texts it
// uses (over 255 characters is reported, and stops the command in strict inspection),
// then act. File names are script notation for Windows paths and reach the file system
// only through the platform's path mapping. Results go only into variables of the right
// kind, cut to the 255 characters a string variable or string memory holds, so no result
// can overflow its field.
#include "commands/text_commands.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "interpreter/arguments.h"
#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/file_reports.h"
#include "interpreter/format.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"
#include "platform/ascii_case.h"
#include "platform/paths.h"

namespace velcrum {
namespace {

// The running command: its mnemonic and its whole text, as every check and report wants.
struct Command {
  explicit Command(const CommandCall& call) : name(call.text.substr(0, 2)), text(call.text) {}
  std::string_view name;
  std::string_view text;
};

// Parameter kind checks. A parameter used as text or as a number only reports a wrong
// kind; a target answers whether the command may go on.
void CheckText(const Command& cmd, int n) {
  CheckStringParam(cmd.name, n, false, false, cmd.text);
}
void CheckNumber(const Command& cmd, int n) {
  CheckNumericParam(cmd.name, n, false, false, cmd.text);
}
// A numeric parameter that reads as 0 when not given is checked only when given.
void CheckOptionalNumber(const Command& cmd, int n) {
  if (GetParamKind(n) != ParamKind::kNone) CheckNumber(cmd, n);
}
bool CheckStringTarget(const Command& cmd, int n) {
  return CheckStringParam(cmd.name, n, true, false, cmd.text);
}
bool CheckIntegerTarget(const Command& cmd, int n) {
  return CheckNumericParam(cmd.name, n, true, false, cmd.text);
}

// The text of parameter n. Parameter texts are C strings, so a stray NUL ends them.
std::string_view Text(int n) {
  return ParamText(n);
}

// Reports a text parameter longer than a string variable holds; answers true when the
// command must stop because of it (strict inspection).
bool TooLong(const Command& cmd, int n) {
  if (Text(n).size() <= static_cast<size_t>(kMaxStringLength)) return false;
  ReportParamWarning(cmd.name, n, cmd.text, "string exceeds max length (255)");
  return IsStrictInspection();
}

// Writes a string result when parameter n is a string variable; cut to 255 characters.
void StoreText(const Command& cmd, int n, std::string_view text) {
  if (IsStringVarParam(cmd.name, n)) SetStringVariable(ParamVarIndex(n), text);
}

// The current text of the string variable an in-place editor works on. Read from the
// variable's field itself, never past its 255 characters.
std::string VariableText(int n) {
  const char* field = ParamStringVar(n);
  return std::string(field, strnlen(field, kMaxStringLength));
}

// TE 'C' 2: all lower case, then the first character and every letter after a blank
// upper case. Case changes touch only the ASCII letters, whatever the locale.
void Capitalise(std::string& text) {
  text = LowerAsciiText(text);
  for (size_t i = 0; i < text.size(); ++i) {
    if (i == 0 || text[i - 1] == ' ') text[i] = UpperAscii(text[i]);
  }
}

// The number of characters to take off for a repeat count: none for a count below 1,
// at most the whole text.
size_t RepeatCount(int32_t count, size_t length) {
  return count < 1 ? 0 : std::min(static_cast<size_t>(count), length);
}

}  // namespace

int ExecTB(const CommandCall& call) {
  const Command cmd(call);
  GetArguments(call.text, 3);
  CheckText(cmd, 1);
  CheckNumber(cmd, 2);
  if (!CheckStringTarget(cmd, 3)) return 0;
  if (TooLong(cmd, 1)) return 0;

  const std::string_view text = Text(1);
  const int32_t position = ParamValue(2);
  DebugOut(Format("TextBreak: len:%d", static_cast<int>(text.size())));
  std::string result;
  result.reserve(text.size() + 1);
  for (size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (static_cast<int64_t>(i) + 1 == position) result += '|';
  }
  // A full text with a break in it is one character more than a variable holds: the
  // last character is dropped.
  if (result.size() > static_cast<size_t>(kMaxStringLength)) result.resize(kMaxStringLength);
  StoreText(cmd, 3, result);
  DebugOut(
      Format("TextBreak: string:'%s' len:%d\n", result.c_str(), static_cast<int>(result.size())));
  return 0;
}

int ExecTD(const CommandCall& call) {
  const Command cmd(call);
  GetArguments(call.text, 4);
  CheckText(cmd, 1);
  CheckText(cmd, 2);
  const bool before = CheckStringTarget(cmd, 3);
  const bool after = CheckStringTarget(cmd, 4);
  if (!before || !after) return 0;
  if (TooLong(cmd, 1) || TooLong(cmd, 2)) return 0;

  StoreText(cmd, 3, "");
  StoreText(cmd, 4, "");
  const std::string_view text = Text(1);
  const std::string_view separator = Text(2);
  const size_t at = separator.empty() ? std::string_view::npos : text.find(separator[0]);
  if (at == std::string_view::npos) {
    StoreText(cmd, 3, text);
    return 0;
  }
  StoreText(cmd, 3, text.substr(0, at));
  StoreText(cmd, 4, text.substr(at + 1));
  return 0;
}

int ExecTE(const CommandCall& call) {
  const Command cmd(call);
  GetArguments(call.text, 3);
  CheckText(cmd, 1);
  const bool target = CheckStringTarget(cmd, 2);
  CheckNumber(cmd, 3);
  if (!target || TooLong(cmd, 1)) return 0;
  if (!IsStringVarParam(cmd.name, 2)) return 0;

  std::string text = VariableText(2);
  const int32_t count = ParamValue(3);
  switch (Text(1).empty() ? '\0' : Text(1)[0]) {
    case 'B':
      text.resize(text.size() - RepeatCount(count, text.size()));
      break;
    case 'C':
      if (count == 0) {
        text = LowerAsciiText(text);
      } else if (count == 1) {
        text = UpperAsciiText(text);
      } else if (count == 2 && text.size() > 1) {
        Capitalise(text);
      }
      break;
    case 'D':
      text.erase(0, RepeatCount(count, text.size()));
      break;
    case 'S':
      if (count != 0) {
        text.insert(0, 1, '/');  // a full variable loses its last character
      } else if (!text.empty() && text[0] == '/') {
        text.erase(0, 1);
      }
      break;
    default:
      return 0;
  }
  SetStringVariable(ParamVarIndex(2), text);
  return 0;
}

int ExecTF(const CommandCall& call) {
  const Command cmd(call);
  GetArguments(call.text, 1);
  if (!CheckStringTarget(cmd, 1) || !IsStringVarParam(cmd.name, 1)) return 0;

  std::string text = VariableText(1);
  std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == '\''; });
  SetStringVariable(ParamVarIndex(1), text);
  return 0;
}

int ExecTH(const CommandCall& call) {
  const Command cmd(call);
  GetArguments(call.text, 3);
  const bool target = CheckStringTarget(cmd, 1);
  CheckText(cmd, 2);
  CheckOptionalNumber(cmd, 3);
  if (!target || TooLong(cmd, 2)) return 0;
  if (!IsStringVarParam(cmd.name, 1)) return 0;
  // Without a character there is nothing to turn into tabs, and turning tabs into
  // nothing would cut the text at its first tab: the variable stays as it is.
  if (Text(2).empty()) return 0;

  const char character = Text(2)[0];
  const bool toTabs = ParamValue(3) == 0;
  std::string text = VariableText(1);
  std::replace(text.begin(), text.end(), toTabs ? character : '\t', toTabs ? '\t' : character);
  SetStringVariable(ParamVarIndex(1), text);
  return 0;
}

int ExecTI(const CommandCall& call) {
  const Command cmd(call);
  GetArguments(call.text, 2);
  CheckText(cmd, 1);
  if (!CheckStringTarget(cmd, 2) || TooLong(cmd, 1)) return 0;
  if (!IsStringVarParam(cmd.name, 2)) return 0;

  SetStringVariable(ParamVarIndex(2), VariableText(2) + std::string(Text(1)));
  return 0;
}

int ExecTL(const CommandCall& call) {
  const Command cmd(call);
  GetArguments(call.text, 2);
  CheckText(cmd, 1);
  if (!CheckStringTarget(cmd, 2)) return 0;

  // Cutting is this command's purpose, so a long text is only noted, never refused.
  const std::string_view text = Text(1);
  if (text.size() > static_cast<size_t>(kMaxStringLength)) {
    DebugOut(Format("<%s> WARNING: line: %d, cmd: 'TL' string length exceeds 255. Truncating.",
                    g_instanceName.c_str(), g_iCurrentLine));
  }
  StoreText(cmd, 2, text);
  return 0;
}

int ExecTQ(const CommandCall& call) {
  const Command cmd(call);
  GetArguments(call.text, 2);
  CheckText(cmd, 1);
  if (!CheckIntegerTarget(cmd, 2) || TooLong(cmd, 1)) return 0;

  if (IsIntVarParam(cmd.name, 2)) ParamIntVar(2) = static_cast<int32_t>(Text(1).size());
  return 0;
}

int ExecTR(const CommandCall& call) {
  const Command cmd(call);
  GetArguments(call.text, 2);
  CheckText(cmd, 1);
  if (!CheckStringTarget(cmd, 2) || TooLong(cmd, 1)) return 0;
  if (!IsStringVarParam(cmd.name, 2)) return 0;

  const std::string_view remove = Text(1);
  std::string text = VariableText(2);
  const size_t at = text.find(remove);
  if (remove.empty() || at == std::string::npos) return 0;
  text.erase(at, remove.size());
  SetStringVariable(ParamVarIndex(2), text);
  return 0;
}

namespace {

// TS's fields: the text cut at every character of the separators, as strtok cuts it:
// runs of separators count as one cut and give no empty field, at either end too.
std::vector<std::string_view> SplitFields(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> fields;
  size_t pos = 0;
  while (pos < text.size()) {
    pos = text.find_first_not_of(separators, pos);
    if (pos == std::string_view::npos) break;
    const size_t end = std::min(text.find_first_of(separators, pos), text.size());
    fields.push_back(text.substr(pos, end - pos));
    pos = end;
  }
  return fields;
}

// Stores a text into string memory `index` (1 to 4097), cut to 255 characters.
void PutStringMemory(const Command& cmd, int index, std::string_view text) {
  char* field = StringMemory(index);
  if (field == nullptr) {
    ReportError(cmd.name, " GlobalAlloc() failed");
    return;
  }
  const size_t length = std::min(text.size(), static_cast<size_t>(kMaxStringLength));
  std::memcpy(field, text.data(), length);
  field[length] = '\0';
}

// A memory block's base: 0 means the block is not wanted; another value outside
// 1 to `highest` is reported. Answers whether the block is wanted and valid.
bool BlockWanted(const Command& cmd, int n, int highest, bool& rangeProblem) {
  const int32_t base = ParamValue(n);
  if (base == 0) return false;
  if (base >= 1 && base <= highest) return true;
  ReportParamRange(cmd.name, n, cmd.text);
  rangeProblem = true;
  return false;
}

}  // namespace

int ExecTS(const CommandCall& call) {
  const Command cmd(call);
  // The appended " 0" makes a missing last parameter read as the number 0.
  GetArguments(std::string(call.text) + " 0", 4);
  CheckText(cmd, 1);
  CheckText(cmd, 2);
  CheckNumber(cmd, 3);
  CheckNumber(cmd, 4);
  if (TooLong(cmd, 1) || TooLong(cmd, 2)) return 0;
  bool rangeProblem = false;
  const bool integers = BlockWanted(cmd, 3, kIntegerMemoryCount, rangeProblem);
  const bool strings = BlockWanted(cmd, 4, kStringMemoryCount, rangeProblem);
  if (rangeProblem && IsStrictInspection()) return 0;
  const int integerBase = ParamValue(3);
  const int stringBase = ParamValue(4);

  std::string text(Text(1));
  const std::string separators(Text(2));
  if (text.empty()) {
    if (integers) SetMem(cmd.name, integerBase, 0);
    if (strings) PutStringMemory(cmd, stringBase, "0");
    return 0;
  }

  // A leading separator stands for an empty first field, which the count leaves out.
  const char first = separators.empty() ? '\0' : separators[0];
  const int leading = first != '\0' && text[0] == first ? 1 : 0;
  if (leading) text.erase(0, 1);

  // Two first separators in a row get a blank between them, so that the field between
  // them is a single blank rather than nothing.
  if (first != '\0') {
    std::string spaced;
    spaced.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
      spaced += text[i];
      if (text[i] == first && i + 1 < text.size() && text[i + 1] == first) spaced += ' ';
    }
    text = std::move(spaced);
  }

  const std::vector<std::string_view> fields = SplitFields(text, separators);
  const int count = static_cast<int>(fields.size());

  if (integers) {
    if (leading && integerBase + 1 <= kIntegerMemoryCount) SetMem(cmd.name, integerBase + 1, 0);
    for (int k = 1; k <= count; ++k) {
      const int index = integerBase + k + leading;
      if (index > kIntegerMemoryCount) break;
      SetMem(cmd.name, index, ReadDecimal(fields[static_cast<size_t>(k - 1)]));
    }
    SetMem(cmd.name, integerBase, count);
  }
  if (strings) {
    if (leading && stringBase + 1 <= kStringMemoryCount) PutStringMemory(cmd, stringBase + 1, "");
    for (int k = 1; k <= count; ++k) {
      const int index = stringBase + k + leading;
      if (index > kStringMemoryCount) break;
      PutStringMemory(cmd, index, fields[static_cast<size_t>(k - 1)]);
    }
    PutStringMemory(cmd, stringBase, std::to_string(count));
  }
  return 0;
}

int ExecTT(const CommandCall& call) {
  const Command cmd(call);
  GetArguments(call.text, 2);
  const bool source = CheckStringTarget(cmd, 1);
  const bool target = CheckStringTarget(cmd, 2);
  if (!source || !target) return 0;

  StoreText(cmd, 2, Text(1));
  return 0;
}

int ExecTW(const CommandCall& call) {
  const Command cmd(call);
  GetArguments(call.text, 2);
  CheckText(cmd, 1);
  CheckText(cmd, 2);
  if (TooLong(cmd, 1) || TooLong(cmd, 2)) return 0;

  const std::string name = ScriptPathToWindows(Text(2));
  if (name.empty()) {
    ReportParamWarning(cmd.name, 2, cmd.text, "file name parameter is NULL");
    return 0;
  }
  // Every "|" is a line end; the text gets no line end of its own at the end.
  std::string text(Text(1));
  std::replace(text.begin(), text.end(), '|', '\n');
  std::FILE* file = OpenWindowsFile(name, "at");
  if (file == nullptr) {
    ReportFileNotOpened(cmd.name, 2, cmd.text, name);
    return 0;
  }
  // Appended in place: a failure can cost only the text being added.
  bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  int error = errno;
  if (std::fclose(file) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) ReportFileNotWritten(cmd.name, 2, cmd.text, name, error);
  return 0;
}

int ExecTX(const CommandCall& call) {
  const Command cmd(call);
  GetArguments(call.text, 2);
  const bool target = CheckStringTarget(cmd, 1);
  CheckOptionalNumber(cmd, 2);
  if (!target || !IsStringVarParam(cmd.name, 1)) return 0;

  const std::string text = VariableText(1);
  std::string result;
  result.reserve(text.size());
  if (ParamValue(2) == 0) {
    // Script notation to file notation.
    for (const char c : text) {
      switch (c) {
        case ';':
          result += ':';
          break;
        case '/':
          result += '\\';
          break;
        case '|':
          result += '\r';
          break;
        case '`':
          result += '\'';
          break;
        default:
          result += c;
      }
    }
  } else {
    // File notation back to script notation.
    for (size_t i = 0; i < text.size(); ++i) {
      switch (text[i]) {
        case ':':
          result += ';';
          break;
        case '\\':
          result += '/';
          break;
        case '\'':
          result += '`';
          break;
        case '\r':
          result += '|';
          if (g_settings.txVerticalBarCrlf == 0 && i + 1 < text.size() && text[i + 1] == '\n') ++i;
          break;
        default:
          result += text[i];
      }
    }
  }
  SetStringVariable(ParamVarIndex(1), result);
  return 0;
}

namespace {

constexpr CommandEntry kRows[] = {
    {"TB", ExecTB}, {"TD", ExecTD}, {"TE", ExecTE}, {"TF", ExecTF}, {"TH", ExecTH},
    {"TI", ExecTI}, {"TL", ExecTL}, {"TQ", ExecTQ}, {"TR", ExecTR}, {"TS", ExecTS},
    {"TT", ExecTT}, {"TW", ExecTW}, {"TX", ExecTX},
};

}  // namespace

const CommandTable kTextCommands = kRows;

}  // namespace velcrum
