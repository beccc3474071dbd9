// EX: finding the library, working out the argument count, and the three modes.
//
// The command's text gets " 0 0 0 0 0 0 0" before it is parsed, so that parameters the
// script leaves out read as 0. The handler reads everything it needs from the parameters
// first, then loads and calls. Results go only into variables of the right kind: N% when
// parameter 4 is an integer variable (the function is called only then), R$ when
// parameter 5 is a string variable.
#include "commands/extension_commands.h"

#include <velcrum/velcrum_extension.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "commands/kept_libraries.h"
#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"
#include "platform/ascii_case.h"
#include "platform/paths.h"
#include "platform/shared_library.h"
#include "runtime/configuration_files.h"

namespace velcrum {
namespace {

constexpr std::string_view kPadding = " 0 0 0 0 0 0 0";
constexpr int kPaddingWords = 7;
constexpr int kFirstArgument = 6;  // parameters 6 to 10 are the arguments
constexpr int kMaxArguments = VELCRUM_EX_ARGUMENT_SLOTS - 1;

// R$'s field is handed over as the block's first text.
static_assert(kStringFieldSize == VELCRUM_STRING_SIZE);

// What EX takes from its parameters.
struct ExCall {
  std::string command;  // the text as parsed, padding included
  int32_t mode = 0;
  std::string library;  // the name, ".dll" added where it has none
  int32_t keptNumber = 0;
  std::string function;
  int integerResult = -1;  // the variable index of N%, -1 when parameter 4 is none
  int stringResult = -1;   // the same for R$
  std::array<std::string, kMaxArguments> texts;  // parameters 6 to 10 as parsed
  int argumentCount = 0;
};

bool IsNumber(std::string_view text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  return !text.empty() && std::all_of(text.begin(), text.end(), IsAsciiDigit);
}

// How many parameters the script wrote: those parsed, less the padding's seven words,
// which an unclosed quote takes into the script's last literal instead.
int WrittenParameters() {
  int parsed = 0;
  while (parsed < kParamSlots && GetParamKind(parsed + 1) != ParamKind::kNone) ++parsed;
  if (parsed < kPaddingWords) return parsed;
  for (int n = parsed - kPaddingWords + 1; n <= parsed; ++n) {
    if (GetParamKind(n) != ParamKind::kNumericLiteral || std::string_view(ParamText(n)) != "0") {
      return parsed;
    }
  }
  return parsed - kPaddingWords;
}

ExCall ReadParameters(const CommandCall& call) {
  ExCall ex;
  ex.command = std::string(call.text) + std::string(kPadding);
  GetArguments(ex.command, kParamSlots);
  ex.mode = ParamValue(1);
  ex.library = ParamText(2);
  if (LowerAsciiText(ex.library).find(".dll") == std::string::npos && !IsNumber(ex.library)) {
    ex.library += ".dll";
  }
  ex.keptNumber = ParamValue(2);
  ex.function = ParamText(3);
  if (IsIntVarParam("EX", 4)) ex.integerResult = ParamVarIndex(4);
  if (IsStringVarParam("EX", 5)) ex.stringResult = ParamVarIndex(5);
  for (int i = 0; i < kMaxArguments; ++i) ex.texts[i] = ParamText(kFirstArgument + i);
  ex.argumentCount = std::clamp(WrittenParameters() - (kFirstArgument - 1), 0, kMaxArguments);
  return ex;
}

bool IsFile(const std::string& path) {
  return WindowsPathExists(path) && !WindowsDirectoryExists(path);
}

// Where the library is: a name in script notation (with ";" or "/") is a path of its own;
// any other is looked for in the current directory, then the Windows directory, then the
// system directory. Empty when there is no such file.
std::string FindLibrary(const std::string& name) {
  if (name.find_first_of(";/") != std::string::npos) {
    std::string path = ScriptPathToWindows(name);
    return IsFile(path) ? path : std::string();
  }
  // The current directory's file by its full path, as the search on Windows gave it.
  if (IsFile(name)) return HostPath(name);
  for (const std::string& directory : {GetWindowsDirectory(), SystemDirectory()}) {
    std::string path = directory + "\\" + name;
    if (IsFile(path)) return path;
  }
  return {};
}

SharedLibrary Load(const std::string& path) {
  return path.empty() ? SharedLibrary() : SharedLibrary::OpenWindowsPath(path);
}

// Mode 0: arguments 1 to 3 joined in the text buffer, which the function may replace.
void CallWithText(const ExCall& ex, const std::string& path) {
  const SharedLibrary library = Load(path);
  const auto function = library.Entry<VelcrumExTextFunction>(ex.function.c_str());
  if (!function) return;
  // Three arguments of 512 characters would overrun the buffer: the text is cut to it.
  char text[VELCRUM_EX_TEXT_SIZE] = {};
  const std::string joined = ex.texts[0] + " " + ex.texts[1] + " " + ex.texts[2];
  const auto length = static_cast<int32_t>(joined.copy(text, sizeof text - 1));
  if (ex.integerResult >= 0) {
    const int32_t result = function(text, length);
    text[sizeof text - 1] = '\0';  // whatever the function left there, the text ends
    g_lIntegerVariables[ex.integerResult] = result;
  }
  if (ex.stringResult >= 0) SetStringVariable(ex.stringResult, text);
}

// Modes 1 and 2: the argument block, R$'s field first (a scratch field when parameter 5
// is no string variable), then the arguments the script wrote, the rest empty.
void CallWithArguments(const ExCall& ex, VelcrumExArgumentsFunction function) {
  if (ex.integerResult < 0) return;
  char scratch[VELCRUM_STRING_SIZE] = {};
  char* const result = ex.stringResult >= 0 ? g_szStringVariables[ex.stringResult] : scratch;
  std::array<std::array<char, kParamTextLimit + 1>, kMaxArguments> texts{};
  char* block[VELCRUM_EX_ARGUMENT_SLOTS] = {result};
  for (int i = 0; i < kMaxArguments; ++i) {
    if (i < ex.argumentCount) ex.texts[i].copy(texts[i].data(), kParamTextLimit);
    block[i + 1] = texts[i].data();
  }
  const int32_t value = function(block, ex.argumentCount);
  result[VELCRUM_STRING_SIZE - 1] = '\0';  // R$ stays a text of at most 255 characters
  g_lIntegerVariables[ex.integerResult] = value;
}

void CallOnce(const ExCall& ex, const std::string& path) {
  const SharedLibrary library = Load(path);
  if (!library) return;
  const auto function = library.Entry<VelcrumExArgumentsFunction>(ex.function.c_str());
  if (!function) {
    DebugOut(Format("EX: '1' GetProcAddress() failed. EntryPointFuntionName: '%s'",
                    ex.function.c_str()));
    return;
  }
  CallWithArguments(ex, function);
}

// Mode 2 with a library name: the library stays loaded; N% gets its number (0 when it
// cannot be loaded) and R$ is emptied.
void Keep(const ExCall& ex, const std::string& path) {
  SharedLibrary library = Load(path);
  const int32_t number = library ? KeepLibrary(std::move(library)) : 0;
  if (ex.integerResult >= 0) g_lIntegerVariables[ex.integerResult] = number;
  if (ex.stringResult >= 0) SetStringVariable(ex.stringResult, "");
}

// Mode 2 with a kept library's number: UNLOAD, or a call as in mode 1. A number that
// names no kept library does nothing.
void UseKept(const ExCall& ex) {
  const SharedLibrary* library = KeptLibrary(ex.keptNumber);
  if (!library) return;
  if (EqualNoCase(ex.function, "UNLOAD")) {
    UnloadKeptLibrary(ex.keptNumber);
    return;
  }
  const auto function = library->Entry<VelcrumExArgumentsFunction>(ex.function.c_str());
  if (!function) {
    DebugOut(Format("EX: '2' GetProcAddress() failed. (EntryPointFuntionName: '%s')",
                    ex.function.c_str()));
    return;
  }
  CallWithArguments(ex, function);
}

}  // namespace

int ExecEX(const CommandCall& call) {
  const ExCall ex = ReadParameters(call);
  const std::string path = FindLibrary(ex.library);
  if (path.empty()) {
    DebugOut(Format("EX: (cmd: %s). path to the DLL is invalid.", ex.command.c_str()));
  } else {
    DebugOut(Format("EX: (cmd: %s). DLL: '%s', path to DLL: '%s'", ex.command.c_str(),
                    ex.library.c_str(), path.c_str()));
  }
  DebugOut(Format("EX: argCount: %d", ex.argumentCount));
  switch (ex.mode) {
    case 0:
      CallWithText(ex, path);
      break;
    case 1:
      CallOnce(ex, path);
      break;
    case 2:
      if (ex.library.find('.') != std::string::npos) {
        Keep(ex, path);
      } else {
        UseKept(ex);
      }
      break;
    default:
      break;
  }
  return 0;
}

namespace {

constexpr CommandEntry kRows[] = {
    {"EX", ExecEX},
};

}  // namespace

const CommandTable kExtensionCommands = kRows;

}  // namespace velcrum
