// The S commands.
//
// Every handler reads its parameters first: targets must be variables of the right kind
// (a failed check ends the command), the other checks only report, and each text longer
// than 255 characters is reported and, in strict inspection, ends the command. Results
// are written only into a variable of the right kind. No S command ends its line.
#include "commands/string_commands.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <utility>

#include "commands/calendar.h"
#include "commands/script_format.h"
#include "commands/string_memory_range.h"
#include "commands/timecode.h"
#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/host.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/script_store.h"
#include "interpreter/variables.h"
#include "platform/ascii_case.h"
#include "runtime/configuration_files.h"
#include "runtime/instance_name.h"
#include "runtime/module_path.h"
#include "runtime/nxi_requests.h"
#include "runtime/subsystem_settings.h"

namespace velcrum {
namespace {

constexpr const char* kNullMemory = " hStrMem[] is NULL";
// The message number of SM's free text to NXI (a text frame, wParam 0).
constexpr uint32_t kNxiSendText = 2191;
// SL's list is built in a buffer of 512 characters.
constexpr size_t kListLimit = 512;

std::string_view Name(const CommandCall& call) {
  return call.text.substr(0, 2);
}

bool TextParam(const CommandCall& call, int n) {
  return CheckStringParam(Name(call), n, false, false, call.text);
}
bool NumberParam(const CommandCall& call, int n) {
  return CheckNumericParam(Name(call), n, false, false, call.text);
}
bool StringTarget(const CommandCall& call, int n) {
  return CheckStringParam(Name(call), n, true, false, call.text);
}
bool NumberTarget(const CommandCall& call, int n) {
  return CheckNumericParam(Name(call), n, true, false, call.text);
}

// The length test of a text parameter; true when the command must stop.
bool TooLongStops(const CommandCall& call, int n) {
  if (ParamTextLength(n) <= kMaxStringLength) return false;
  ReportParamWarning(Name(call), n, call.text, "string exceeds max length (255)");
  return IsStrictInspection();
}

std::string_view Text(int n) {
  return {ParamText(n), static_cast<size_t>(ParamTextLength(n))};
}

void SetStringResult(const CommandCall& call, int n, std::string_view text) {
  if (IsStringVarParam(Name(call), n)) SetStringVariable(ParamVarIndex(n), text);
}

void SetNumberResult(const CommandCall& call, int n, int32_t value) {
  if (IsIntVarParam(Name(call), n)) ParamIntVar(n) = value;
}

// A string memory's text; the block is a 256-byte field that always ends in a zero.
std::string_view MemoryText(const char* memory) {
  return {memory, strnlen(memory, static_cast<size_t>(kMaxStringLength))};
}

std::string CommandWarning(const CommandCall& call, const char* text) {
  return Format("<%s> WARNING: line: %d, cmd: '%.2s' %s", g_instanceName.c_str(), g_iCurrentLine,
                call.text.data(), text);
}

}  // namespace

int ExecSA(const CommandCall& call) {
  GetArguments(call.text, 1);
  if (!StringTarget(call, 1)) return 0;
  // The name is taken from the whole path, so a long directory never cuts it; the
  // variable keeps 255 characters of it.
  const size_t separator = g_modulePath.find_last_of("\\/");
  const std::string name = UpperAsciiText(
      separator == std::string::npos ? g_modulePath : g_modulePath.substr(separator + 1));
  SetStringResult(call, 1, name);
  return 0;
}

int ExecSC(const CommandCall& call) {
  GetArguments(call.text, 10);
  if (!StringTarget(call, 1)) return 0;
  TextParam(call, 2);
  if (TooLongStops(call, 1) || TooLongStops(call, 2)) return 0;
  const std::string format(Text(2));
  const std::vector<FormatArgument> arguments = GatherFormatArguments(format, 3, 10);
  try {
    const FormattedText result = FormatScriptText(format, arguments, kMaxStringLength);
    if (result.length < 0) {
      SetStringResult(call, 1, "");
      DebugOut(Format("<%s> ERROR: line: %d, cmd: 'SC' vprintf() failed to print.",
                      g_instanceName.c_str(), g_iCurrentLine));
      return 0;
    }
    SetStringResult(call, 1, result.text);
    if (result.length > kMaxStringLength) {
      DebugOut(CommandWarning(call, "resulting string length exceeds 255. Truncating."));
    }
  } catch (...) {
    // Only an allocation can still fail here.
    SetStringResult(call, 1, "");
    DebugOut("SC -- caught exception during vprinf() operation");
  }
  return 0;
}

int ExecSD(const CommandCall& call) {
  DebugOut(call.text);
  GetArguments(call.text, 6);
  TextParam(call, 1);
  NumberParam(call, 2);
  // Every target is checked, so each bad one is reported, before any decision.
  const bool textOk = StringTarget(call, 3);
  const bool dayOk = NumberTarget(call, 4);
  const bool monthOk = NumberTarget(call, 5);
  const bool yearOk = NumberTarget(call, 6);
  if (!(textOk && dayOk && monthOk && yearOk) || TooLongStops(call, 1)) return 0;

  const DateFields fields = ReadDateText(Text(1));
  const int64_t dayNumber =
      DayNumber(fields.day, MonthFromName(fields.monthName), fields.year) + ParamValue(2);
  const CalendarDate date = DateFromDayNumber(dayNumber);
  const std::string text = DateText(date);
  SetStringResult(call, 3, text);
  DebugOut(text);
  SetNumberResult(call, 4, static_cast<int32_t>(date.day));
  SetNumberResult(call, 5, date.month);
  SetNumberResult(call, 6, static_cast<int32_t>(date.year));
  return 0;
}

int ExecSE(const CommandCall& call) {
  GetArguments(call.text, 2);
  TextParam(call, 1);
  if (!StringTarget(call, 2) || TooLongStops(call, 1)) return 0;
  const std::string name = UpperAsciiText(Text(1));
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) {
    DebugOut(Format("<%s> WARNING: line: %d, cmd: 'SE' environment variable does not exist: '%s'",
                    g_instanceName.c_str(), g_iCurrentLine, name.c_str()));
    SetStringResult(call, 2, " ");
    return 0;
  }
  SetStringResult(call, 2, value);
  if (std::strlen(value) > static_cast<size_t>(kMaxStringLength)) {
    DebugOut(CommandWarning(call, "resulting string length exceeds 255. Truncating."));
  }
  return 0;
}

int ExecSF(const CommandCall& call) {
  GetArguments(call.text, 4);
  TextParam(call, 1);
  NumberParam(call, 2);
  NumberParam(call, 3);
  if (!NumberTarget(call, 4) || TooLongStops(call, 1)) return 0;
  SetNumberResult(call, 4, 0);
  const StringMemoryRange range = CheckStringMemoryRange(call, 2, 3);
  if (!range.valid) return 0;
  const std::string_view text = Text(1);
  for (int index = range.first; index <= range.last; ++index) {
    const char* memory = StringMemory(index);
    if (memory == nullptr) {
      ReportWarning(Name(call), kNullMemory);
      continue;
    }
    if (MemoryText(memory) == text) {
      SetNumberResult(call, 4, index);
      break;
    }
  }
  return 0;
}

int ExecSG(const CommandCall& call) {
  GetArguments(call.text, 2);
  NumberParam(call, 1);
  if (!StringTarget(call, 2)) return 0;
  const int index = ParamValue(1);
  if (index < 1 || index > kStringMemoryCount) {
    ReportParamRange(Name(call), 1, call.text);
    return 0;
  }
  SetStringResult(call, 2, "");
  const char* memory = StringMemory(index);
  if (memory == nullptr) {
    ReportWarning(Name(call), kNullMemory);
    return 0;
  }
  SetStringResult(call, 2, MemoryText(memory));
  return 0;
}

int ExecSH(const CommandCall& call) {
  GetArguments(call.text, 4);
  NumberParam(call, 1);
  NumberParam(call, 3);
  NumberParam(call, 4);
  if (!StringTarget(call, 2)) return 0;
  int width = ParamValue(3);
  if (width < 1 || width > 16) width = 8;
  char digits[8];
  const auto end =
      std::to_chars(digits, digits + sizeof digits, static_cast<uint32_t>(ParamValue(1)), 16).ptr;
  std::string text(static_cast<size_t>(std::max<ptrdiff_t>(0, width - (end - digits))), '0');
  text.append(digits, end);
  SetStringResult(call, 2, ParamValue(4) != 0 ? UpperAsciiText(text) : text);
  return 0;
}

int ExecSI(const CommandCall& call) {
  DebugOut(call.text);
  GetArguments(call.text, 5);
  for (int n = 1; n <= 4; ++n) TextParam(call, n);
  if (!StringTarget(call, 5)) return 0;
  for (int n = 1; n <= 4; ++n) {
    if (TooLongStops(call, n)) return 0;
  }
  const DateFields date1 = ReadDateText(Text(1));
  const DateFields date2 = ReadDateText(Text(3));
  DebugOut(date1.monthName);
  DebugOut(date2.monthName);
  const std::string text = TimeDifferenceText(
      DayNumber(date1.day, MonthFromName(date1.monthName), date1.year), SecondsOfTimeText(Text(2)),
      DayNumber(date2.day, MonthFromName(date2.monthName), date2.year), SecondsOfTimeText(Text(4)));
  DebugOut("--------------");
  DebugOut(text);
  DebugOut("--------------");
  SetStringResult(call, 5, text);
  return 0;
}

int ExecSL(const CommandCall& call) {
  GetArguments(call.text, 5);
  NumberParam(call, 1);
  NumberParam(call, 2);
  TextParam(call, 3);
  if (GetParamKind(5) != ParamKind::kNone) NumberParam(call, 5);
  if (!StringTarget(call, 4) || TooLongStops(call, 3)) return 0;
  const int first = ParamValue(1);
  const int last = ParamValue(2);
  if (first < 1 || first > kIntegerMemoryCount) {
    ReportParamRange(Name(call), 1, call.text);
    return 0;
  }
  if (last < 1 || last > kIntegerMemoryCount) {
    ReportParamRange(Name(call), 2, call.text);
    return 0;
  }
  if (first > last) return 0;
  const bool numbers = ParamValue(5) == 0;
  const std::string_view separator = Text(3).substr(0, 1);

  SetStringResult(call, 4, "");
  std::string list;
  size_t sum = 0;
  for (int index = first; index <= last; ++index) {
    std::string item;
    if (numbers) {
      item = std::to_string(GetMem(Name(call), index));
    } else {
      // The memories stay allocated, so an empty one is one never stored (or emptied):
      // it is reported as missing and adds no item, as a memory beyond 4097 does.
      const char* memory = StringMemory(index);
      if (memory == nullptr || *memory == '\0') {
        ReportError(Name(call), " GlobalLock() failed - no string memory");
        continue;
      }
      item = MemoryText(memory);
    }
    item += separator;
    sum += item.size();
    if (sum >= kListLimit) break;
    list += item;
  }
  if (sum > 1 && !separator.empty() && !list.empty()) list.pop_back();
  // A string variable holds 255 characters: a longer list is cut there.
  SetStringResult(call, 4, list);
  return 0;
}

int ExecSM(const CommandCall& call) {
  GetArguments(call.text, 1);
  TextParam(call, 1);
  if (TooLongStops(call, 1)) return 0;
  // The request carrier cuts the text to the 512 characters a frame holds.
  SendTextToNxi(kNxiSendText, Text(1));
  return 0;
}

int ExecSN(const CommandCall& call) {
  GetArguments(call.text, 1);
  TextParam(call, 1);
  if (TooLongStops(call, 1)) return 0;
  // The "\\" makes the whole text the file-name part that the instance name is formed from.
  g_instanceName = FormInstanceName("\\" + std::string(Text(1)), g_instanceSettings.workstation,
                                    g_instanceSettings.v2CompatibleVelcrumNames != 0);
  TheHost().SetMainWindowTitle(g_instanceName);
  DebugOut(g_instanceName);
  return 0;
}

int ExecSO(const CommandCall& call) {
  GetArguments(call.text, 2);
  TextParam(call, 1);
  NumberParam(call, 2);
  if (TooLongStops(call, 1)) return 0;
  const int line = ParamValue(2);
  if (line >= 1 && line <= MAX_SCRIPT_LINE) VLSTMSup_SetMem(line, Text(1));
  return 0;
}

int ExecSP(const CommandCall& call) {
  GetArguments(call.text, 2);
  TextParam(call, 1);
  NumberParam(call, 2);
  if (TooLongStops(call, 1)) return 0;
  const int index = ParamValue(2);
  if (index < 1 || index > kStringMemoryCount) {
    ReportParamRange(Name(call), 2, call.text);
    return 0;
  }
  if (ParamTextLength(1) > kMaxStringLength) return 0;  // reported by the length test
  char* memory = StringMemory(index);
  if (memory == nullptr) {
    ReportError(Name(call), " GlobalAlloc() failed");
    return 0;
  }
  const std::string_view text = Text(1);
  std::memcpy(memory, text.data(), text.size());
  memory[text.size()] = '\0';
  return 0;
}

namespace {

// The two titles a program's window may carry: NAME+SUFFIX padded to 8 and NAME, SUFFIX,
// each with the workstation number.
std::pair<std::string, std::string> ProgramWindowTitles(std::string_view path,
                                                        std::string_view suffix, int workstation) {
  // Scripts write "/" for a backslash in paths; either ends a directory.
  const size_t separator = path.find_last_of("\\/");
  std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
  name = name.substr(0, name.find('.'));
  const bool compatible = g_instanceSettings.v2CompatibleVelcrumNames != 0;
  std::string joined = UpperAsciiText(std::string(name) + std::string(suffix));
  if (joined.size() < 8) joined.resize(8, '_');
  if (compatible) joined.resize(8);
  std::string upperName = UpperAsciiText(name);
  if (compatible && upperName.size() > 8) upperName.resize(8);
  return {Format("%s.%03d", joined.c_str(), workstation),
          Format("%s%.*s.%03d", upperName.c_str(), static_cast<int>(suffix.size()), suffix.data(),
                 workstation)};
}

}  // namespace

int ExecSQ(const CommandCall& call) {
  GetArguments(call.text, 3);
  TextParam(call, 1);
  TextParam(call, 2);
  if (!NumberTarget(call, 3) || TooLongStops(call, 1) || TooLongStops(call, 2)) return 0;
  // Reading the workstation number may show a box, whose message loop can run lines that
  // parse commands of their own: the texts and the target are taken first.
  int32_t* const target = IsIntVarParam(Name(call), 3) ? &ParamIntVar(3) : nullptr;
  const std::string program(Text(1));
  const std::string suffix(Text(2));
  int32_t result = -1;
  if (!program.empty()) {
    const auto [padded, plain] = ProgramWindowTitles(program, suffix, ReadWorkstationNumber());
    const bool open =
        TheHost().TopLevelWindowExists(padded) || TheHost().TopLevelWindowExists(plain);
    result = open ? 1 : 0;
  }
  if (target) *target = result;
  return 0;
}

int ExecSS(const CommandCall& call) {
  GetArguments(call.text, 3);
  TextParam(call, 1);
  NumberParam(call, 2);
  NumberParam(call, 3);
  if (TooLongStops(call, 1)) return 0;
  const StringMemoryRange range = CheckStringMemoryRange(call, 2, 3);
  if (!range.valid) return 0;
  const std::string_view text = Text(1).substr(0, kMaxStringLength);
  for (int index = range.first; index <= range.last; ++index) {
    char* memory = StringMemory(index);
    if (memory == nullptr) {
      ReportError(Name(call), " GlobalAlloc() failed");
      continue;
    }
    std::memcpy(memory, text.data(), text.size());
    memory[text.size()] = '\0';
  }
  return 0;
}

int ExecST(const CommandCall& call) {
  GetArguments(call.text, 3);
  NumberParam(call, 1);
  const int mode = ParamValue(1);
  switch (mode) {
    case 0:
    case 2:
    case 3: {
      NumberParam(call, 2);
      if (!StringTarget(call, 3) || TooLongStops(call, 3)) return 0;
      int64_t frames = ParamValue(2);
      if (mode == 2) frames = WrapTimecode(ReadTimecode(Text(3)) + frames);
      if (mode == 3) frames = WrapTimecode(ReadTimecode(Text(3)) - frames);
      SetStringResult(call, 3, TimecodeText(frames));
      return 0;
    }
    case 1:
      TextParam(call, 2);
      if (!StringTarget(call, 3) || TooLongStops(call, 2) || TooLongStops(call, 3)) return 0;
      SetStringResult(call, 3, std::to_string(ReadTimecode(Text(2))));
      return 0;
    case 4:
      if (!StringTarget(call, 2)) return 0;
      SetStringResult(call, 2, LocalTimeTimecode(std::time(nullptr)));
      return 0;
    default:
      DebugOut("Unsupported parameter");
      return 0;
  }
}

namespace {

constexpr CommandEntry kRows[] = {
    {"SA", ExecSA}, {"SC", ExecSC}, {"SD", ExecSD}, {"SE", ExecSE}, {"SF", ExecSF}, {"SG", ExecSG},
    {"SH", ExecSH}, {"SI", ExecSI}, {"SL", ExecSL}, {"SM", ExecSM}, {"SN", ExecSN}, {"SO", ExecSO},
    {"SP", ExecSP}, {"SQ", ExecSQ}, {"SR", ExecSR}, {"SS", ExecSS}, {"ST", ExecST}, {"SW", ExecSW},
};

}  // namespace

const CommandTable kStringCommands = kRows;

}  // namespace velcrum
