// The daily log file.
#include "runtime/log_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>

#include "interpreter/format.h"
#include "interpreter/host.h"
#include "platform/paths.h"

namespace velcrum {

bool g_bLogToFile = false;

namespace {

constexpr size_t kRecordLimit = 64 * 1024 - 1;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
std::unique_ptr<std::FILE, FileCloser> logFile;
std::string logPath;

// Whether the records now being lost have been said; a record that lands again clears it,
// so that the next failure is said again.
bool failureSaid = false;

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

// Says once, on the system debugger (standard error and the debug monitors), that records
// are being dropped: the log cannot report its own failure, and one line per record would
// bury everything else.
void SayFailure(const char* action, int error) {
  if (failureSaid) return;
  failureSaid = true;
  TheHost().SystemDebuggerOut(
      Format("Cannot %s log file %s: %s. Log records are dropped until it can be written.", action,
             logPath.c_str(), std::strerror(error)));
}

}  // namespace

void WriteLogLine(std::string_view text) {
  if (!g_bLogToFile) return;
  const std::tm now = LocalNow();
  if (!logFile) {
    logPath = Format("c:\\vornlogs\\%s.%04d%02d%02d.log", "velcrum", now.tm_year + 1900,
                     now.tm_mon + 1, now.tm_mday);
    logFile.reset(OpenWindowsFile(logPath, "a"));
    if (!logFile) {
      SayFailure("open", errno);
      return;
    }
  }
  text = text.substr(0, kRecordLimit);
  if (std::fprintf(logFile.get(), "%02d:%02d:%02d - %.*s\r\n", now.tm_hour, now.tm_min, now.tm_sec,
                   static_cast<int>(text.size()), text.data()) < 0 ||
      std::fflush(logFile.get()) != 0) {
    // Closed, so that the next record opens the file afresh (the disk may have room again).
    SayFailure("write", errno);
    logFile.reset();
    return;
  }
  failureSaid = false;
}

void ResetLogFile() {
  logFile.reset();
  logPath.clear();
  failureSaid = false;
  g_bLogToFile = false;
}

}  // namespace velcrum
