// SR and SW: string memories read from and written to text files.
//
// File names are Windows paths in the script notation (c;/data/list.txt); they reach the
// file system only through the platform's path mapping.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "commands/string_commands.h"
#include "commands/string_memory_range.h"
#include "interpreter/arguments.h"
#include "interpreter/diagnostics.h"
#include "interpreter/file_reports.h"
#include "interpreter/parameter_checks.h"
#include "interpreter/variables.h"
#include "platform/atomic_file.h"
#include "platform/paths.h"

namespace velcrum {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

std::string_view Name(const CommandCall& call) {
  return call.text.substr(0, 2);
}

// Checks the file-name parameter (1) and the two range parameters (2, 3) as every S
// command does; false when the command must stop.
bool CheckFileParameters(const CommandCall& call) {
  CheckStringParam(Name(call), 1, false, false, call.text);
  CheckNumericParam(Name(call), 2, false, false, call.text);
  CheckNumericParam(Name(call), 3, false, false, call.text);
  if (ParamTextLength(1) <= kMaxStringLength) return true;
  ReportParamWarning(Name(call), 1, call.text, "string exceeds max length (255)");
  return !IsStrictInspection();
}

// The file named by parameter 1 as a Windows path; empty, and reported, when the name is.
std::string FileName(const CommandCall& call) {
  std::string name = ScriptPathToWindows(ParamText(1));
  if (name.empty()) ReportParamWarning(Name(call), 1, call.text, "file name parameter is NULL");
  return name;
}

// Opens the file named by parameter 1 for reading, reporting an empty name and a file
// that does not open.
File OpenNamedFile(const CommandCall& call) {
  const std::string name = FileName(call);
  if (name.empty()) return nullptr;
  File file(OpenWindowsFile(name, "rt"));
  if (!file) ReportFileNotOpened(Name(call), 1, call.text, name);
  return file;
}

// Reads one line into the buffer, without its line end and cut to 255 characters (the
// rest of a longer line is passed over, so that each line fills one memory). False at
// the end of the file when nothing was read.
bool ReadLine(std::FILE* file, std::string& line) {
  line.clear();
  bool readAny = false;
  for (int c = std::getc(file); c != EOF; c = std::getc(file)) {
    readAny = true;
    if (c == '\n') break;
    if (line.size() < static_cast<size_t>(kMaxStringLength)) line += static_cast<char>(c);
  }
  return readAny;
}

}  // namespace

int ExecSR(const CommandCall& call) {
  GetArguments(call.text, 3);
  if (!CheckFileParameters(call)) return 0;
  const File file = OpenNamedFile(call);
  if (!file) return 0;
  const StringMemoryRange range = CheckStringMemoryRange(call, 2, 3);
  if (!range.valid) return 0;
  std::string line;
  for (int index = range.first; index <= range.last; ++index) {
    if (!ReadLine(file.get(), line)) break;
    char* memory = StringMemory(index);
    if (memory == nullptr) {
      ReportError(Name(call), " GlobalAlloc() failed");
      continue;
    }
    std::memcpy(memory, line.data(), line.size());
    memory[line.size()] = '\0';
  }
  return 0;
}

int ExecSW(const CommandCall& call) {
  GetArguments(call.text, 3);
  if (!CheckFileParameters(call)) return 0;
  constexpr int kHighestUnreported = 65537;
  for (const int n : {2, 3}) {
    if (ParamValue(n) < 0 || ParamValue(n) > kHighestUnreported) {
      ReportParamRange(Name(call), n, call.text);
      if (IsStrictInspection()) return 0;
    }
  }
  const std::string name = FileName(call);
  if (name.empty()) return 0;
  const int first = ParamValue(2);
  const int last = ParamValue(3);
  // Nothing to write: the file is left as it is, not emptied.
  if (!IsValidStringMemoryRange(first, last)) return 0;
  std::string contents;
  int missing = 0;
  for (int index = first; index <= last; ++index) {
    if (const char* memory = StringMemory(index)) {
      contents.append(memory, strnlen(memory, kMaxStringLength));
    } else {
      ++missing;
    }
    contents += '\n';
  }
  // The whole file is replaced at once, so a failed write leaves the old one as it was.
  const FileWrite written = ReplaceWindowsFile(name, contents);
  if (written == FileWrite::kNotOpened) {
    ReportFileNotOpened(Name(call), 1, call.text, name);
    return 0;
  }
  const int error = errno;
  // A missing memory is written as an empty line.
  for (int i = 0; i < missing; ++i) ReportError(Name(call), " hStrMem[] is NULL");
  if (written == FileWrite::kNotWritten)
    ReportFileNotWritten(Name(call), 1, call.text, name, error);
  return 0;
}

}  // namespace velcrum
