// EF: a script reads or writes one entry of an INI file, a string or a number.
//
// The file name takes the script notation and blanks are removed from it; an empty name
// means VELCRUM.INI; a name with a drive or a leading "\" is used as it stands, one
// beginning ".\" or "..\" is taken from the current directory, and any other name from
// the configuration directory. Writes go through the platform's profile module, which
// replaces the file whole under its lock, so two panels writing one file keep each
// other's entries. Every use writes one line to the debug output.
#include <cerrno>
#include <string>

#include "commands/system_commands.h"
#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/handler_support.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "runtime/configuration_files.h"

namespace velcrum {
namespace {

// A string read gives at most 254 characters.
constexpr size_t kEntrySize = 255;

std::string Text(int n) {
  return {ParamText(n), static_cast<size_t>(ParamTextLength(n))};
}

std::string IniFileName(std::string_view parameter) {
  std::string name;
  for (const char c : parameter) {
    if (c != ' ') name += c;
  }
  name = ScriptPathToWindows(name);
  if (name.empty()) name = "VELCRUM.INI";
  const bool asItStands = name[0] == '\\' || (name.size() >= 2 && name[1] == ':') ||
                          name.starts_with(".\\") || name.starts_with("..\\");
  return asItStands ? name : ConfigurationDirectory() + "\\" + name;
}

void ReadString(const std::string& section, const std::string& key, const std::string& file) {
  if (!IsStringVarParam("EF", 3)) {
    DebugOut(Format("VLXEF: RD0 Sect: '%s' Key: '%s'  File read:'%s' No target return variable.\n",
                    section.c_str(), key.c_str(), file.c_str()));
    return;
  }
  const int target = ParamVarIndex(3);
  const std::string value = GetPrivateProfileString(section, key, "0", kEntrySize, file);
  SetStringVariable(target, value);
  DebugOut(Format("VLXEF: RD0 Sect: '%s' Key: '%s' File read: '%s' Value Read: '%s'",
                  section.c_str(), key.c_str(), file.c_str(), value.c_str()));
}

void ReadNumber(const std::string& section, const std::string& key, const std::string& file) {
  if (!IsIntVarParam("EF", 3)) {
    DebugOut(
        Format("VLXEF: RD1 Sect: '%s' Key: '%s' File read: '%s',  No target return variable.\n",
               section.c_str(), key.c_str(), file.c_str()));
    return;
  }
  int32_t& target = ParamIntVar(3);
  const int value = GetPrivateProfileInt(section, key, 0, file);
  target = value;
  DebugOut(Format("VLXEF: RD1 Sect: '%s' Key: '%s' File read: '%s', Value read: %d",
                  section.c_str(), key.c_str(), file.c_str(), value));
}

// The two debug lines of a write form: done, and failed with the system's error code.
struct WriteLines {
  const char* written;
  const char* failed;
};
constexpr WriteLines kStringWrite = {
    "VLXEF: WR0 Sect:'%s' Key:'%s' File written:'%s', Written value: '%s'",
    "VLXEF: WR0 Sect:'%s' Key:'%s' Write to file:'%s' FAILED (Win32 error code: %d)"};
constexpr WriteLines kNumberWrite = {
    "VLXEF: WR1 Sect: '%s' Key: '%s' File written: '%s', Value written: '%s'",
    "VLXEF: WR1 Sect: '%s' Key: '%s' Write to file:'%s' FAILED (Win32 error code: %d)"};

void Write(const WriteLines& lines, const std::string& section, const std::string& key,
           const std::string& value, const std::string& file) {
  if (WritePrivateProfileString(section, key, value, file)) {
    DebugOut(Format(lines.written, section.c_str(), key.c_str(), file.c_str(), value.c_str()));
  } else {
    DebugOut(Format(lines.failed, section.c_str(), key.c_str(), file.c_str(), errno));
  }
}

}  // namespace

int ExecEF(const CommandCall& call) {
  GetArguments(call.text, 5);
  const std::string_view name = Mnemonic(call);
  CheckStringParam(name, 1, false, false, call.text);
  CheckStringParam(name, 2, false, false, call.text);
  CheckNumericParam(name, 4, false, false, call.text);
  CheckStringParam(name, 5, false, false, call.text);
  const bool numberForm = IsNumericParam(name, 3);
  const bool writing = ParamValue(4) != 0;
  for (const int n : {1, 2, 5}) {
    if (!CheckParamLength(call, n)) return 0;
  }
  if (writing && !numberForm && !CheckParamLength(call, 3)) return 0;

  const std::string section = Text(1);
  const std::string key = Text(2);
  const std::string file = IniFileName(Text(5));
  if (!writing) {
    numberForm ? ReadNumber(section, key, file) : ReadString(section, key, file);
  } else if (numberForm) {
    Write(kNumberWrite, section, key, Format("%ld", static_cast<long>(ParamValue(3))), file);
  } else {
    Write(kStringWrite, section, key, Text(3), file);
  }
  return 0;
}

}  // namespace velcrum
