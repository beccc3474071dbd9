// EW, EN, EL and EZ, and the table of the system commands.
//
// Every handler reads its parameters first: a target that is not a variable of the right
// kind ends the command, the other checks only report, and a text longer than 255
// characters is reported and, in strict inspection, ends the command.
#include "commands/system_commands.h"

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "commands/script_format.h"
#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/file_reports.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/host.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"
#include "platform/paths.h"
#include "runtime/subsystem_settings.h"

namespace velcrum {
namespace {

// EN's answer for a date the calendar cannot represent.
constexpr int kNoWeekday = 7;
constexpr const char* kDayNames[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "???"};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string_view Text(int n) {
  return {ParamText(n), static_cast<size_t>(ParamTextLength(n))};
}

bool TextParam(const CommandCall& call, int n) {
  return CheckStringParam(Mnemonic(call), n, false, false, call.text);
}
bool NumberParam(const CommandCall& call, int n) {
  return CheckNumericParam(Mnemonic(call), n, false, false, call.text);
}

// The weekday (0 Sunday to 6 Saturday) of a local date by the mktime rules, at the
// current time of day: days and months beyond their ends carry over. Years above 1900 are
// full years, the others count from 1900. kNoWeekday when mktime cannot represent it.
int Weekday(int day, int month, int year) {
  const std::time_t now = std::time(nullptr);
  std::tm date{};
  localtime_r(&now, &date);
  if (day != 0 && month != 0 && year != 0) {
    date.tm_mday = day;
    date.tm_mon = month - 1;
    date.tm_year = year > 1900 ? year - 1900 : year;
  }
  date.tm_isdst = -1;
  errno = 0;
  if (std::mktime(&date) == static_cast<std::time_t>(-1) && errno != 0) return kNoWeekday;
  return date.tm_wday;
}

}  // namespace

int ExecEW(const CommandCall& call) {
  GetArguments(call.text, 1);
  if (!CheckNumericParam(Mnemonic(call), 1, true, false, call.text)) return 0;
  if (IsIntVarParam(Mnemonic(call), 1)) ParamIntVar(1) = g_instanceSettings.workstation;
  return 0;
}

int ExecEN(const CommandCall& call) {
  GetArguments(call.text, 5);
  for (int n = 1; n <= 3; ++n) NumberParam(call, n);
  const bool numberOk = CheckNumericParam(Mnemonic(call), 4, true, false, call.text);
  const bool nameOk = CheckStringParam(Mnemonic(call), 5, true, false, call.text);
  if (!numberOk || !nameOk) return 0;
  const int32_t day = ParamValue(1);
  const int32_t month = ParamValue(2);
  const int32_t year = ParamValue(3);
  if (day < 1 || day > 31) ReportParamRange(Mnemonic(call), 1, call.text);
  if (month < 1 || month > 12) ReportParamRange(Mnemonic(call), 2, call.text);
  if (year < 1 || year > 2050) ReportParamRange(Mnemonic(call), 3, call.text);
  const int weekday = Weekday(day, month, year);
  if (IsIntVarParam(Mnemonic(call), 4)) ParamIntVar(4) = weekday;
  if (IsStringVarParam(Mnemonic(call), 5)) SetStringVariable(ParamVarIndex(5), kDayNames[weekday]);
  return 0;
}

int ExecEL(const CommandCall& call) {
  GetArguments(call.text, 2);
  TextParam(call, 1);
  TextParam(call, 2);
  if (!CheckParamLength(call, 1) || !CheckParamLength(call, 2)) return 0;
  const std::string name = ScriptPathToWindows(Text(1));
  // Only a file that exists is appended to; a missing one is reported and not created.
  if (!File(OpenWindowsFile(name, "r"))) {
    ReportFileNotOpened(Mnemonic(call), 1, call.text, name);
    return 0;
  }
  std::string line(Text(2));
  line += '\n';
  File file(OpenWindowsFile(name, "a"));
  if (!file) {
    ReportFileNotWritten(Mnemonic(call), 1, call.text, name, errno);
    return 0;
  }
  // One line is far smaller than the stream's buffer, so it reaches the file in one write
  // at the flush, and lines that panels append to one file at once do not interleave.
  const bool written = std::fputs(line.c_str(), file.get()) >= 0 && std::fflush(file.get()) == 0;
  const int error = errno;
  if (std::fclose(file.release()) != 0 || !written) {
    ReportFileNotWritten(Mnemonic(call), 1, call.text, name, written ? errno : error);
  }
  return 0;
}

int ExecEZ(const CommandCall& call) {
  GetArguments(call.text, 10);
  TextParam(call, 1);
  if (!CheckParamLength(call, 1)) return 0;
  const std::string format(Text(1));
  const std::vector<FormatArgument> arguments = GatherFormatArguments(format, 2, 10);
  try {
    const FormattedText result = FormatScriptText(format, arguments, kMaxStringLength);
    if (result.length < 0) {
      DebugOut(Format("<%s> ERROR: line: %d, cmd: 'EZ' vprintf() failed to print.",
                      g_instanceName.c_str(), g_iCurrentLine));
      return 0;
    }
    TheHost().SystemDebuggerOut(
        Format("<%s> Debug: %s\n", g_instanceName.c_str(), result.text.c_str()));
    if (result.length > kMaxStringLength) {
      DebugOut(Format(
          "<%s> WARNING: line: %d, cmd: 'EZ' resulting string length exceeds 255. Truncating.",
          g_instanceName.c_str(), g_iCurrentLine));
    }
  } catch (...) {
    // Only an allocation can still fail here.
    DebugOut("EZ -- caught exception during vprinf() operation");
  }
  return 0;
}

namespace {

constexpr CommandEntry kRows[] = {
    {"EF", ExecEF}, {"EL", ExecEL}, {"EN", ExecEN}, {"EW", ExecEW}, {"EZ", ExecEZ},
};

}  // namespace

const CommandTable kSystemCommands = kRows;

}  // namespace velcrum
