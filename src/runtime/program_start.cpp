// The program start of EA and VE.
#include "runtime/program_start.h"

#include <cerrno>
#include <filesystem>
#include <vector>

#include "interpreter/host.h"
#include "platform/command_line.h"
#include "platform/process.h"
#include "runtime/module_path.h"

namespace velcrum {
namespace {

// How long the start waits for a started program's window.
constexpr int kRuntimeCopyWaitMs = 30000;
constexpr int kProgramWaitMs = 2000;

}  // namespace

pid_t StartCommandLine(const std::string& commandLine, bool& runtimeCopy) {
  std::vector<std::string> words = SplitWindowsCommandLine(commandLine);
  if (words.empty()) {
    errno = ENOENT;
    return 0;
  }
  std::vector<std::string> searchFirst;
  if (!g_modulePath.empty()) {
    searchFirst.push_back(std::filesystem::path(g_modulePath).parent_path().string());
  }
  const std::string program = FindHostProgram(words[0], searchFirst);
  if (program.empty()) return 0;
  runtimeCopy = IsThisProgram(program);
  words[0] = program;
  if (!runtimeCopy) {
    for (size_t i = 1; i < words.size(); ++i) words[i] = HostArgument(words[i]);
  }
  return StartProcess(words);
}

void AwaitProgramWindow(pid_t pid, bool runtimeCopy) {
  TheHost().DispatchMessagesUntil(
      [pid] { return EndedProcessStatus(pid) || TheHost().ProcessGroupAnswers(pid); },
      runtimeCopy ? kRuntimeCopyWaitMs : kProgramWaitMs);
  ForgetProcess(pid);
}

}  // namespace velcrum
