// The daily log file.
#include "runtime/log_file.h"

#include <cstdio>
#include <ctime>
#include <memory>
#include <string>

#include "interpreter/format.h"
#include "platform/paths.h"

namespace velcrum {

bool g_bLogToFile = false;

namespace {

constexpr size_t kRecordLimit = 64 * 1024 - 1;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
std::unique_ptr<std::FILE, FileCloser> logFile;

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

}  // namespace

void WriteLogLine(std::string_view text) {
  if (!g_bLogToFile) return;
  const std::tm now = LocalNow();
  if (!logFile) {
    const std::string path = Format("c:\\vornlogs\\%s.%04d%02d%02d.log", "velcrum",
                                    now.tm_year + 1900, now.tm_mon + 1, now.tm_mday);
    logFile.reset(OpenWindowsFile(path, "a"));
    if (!logFile) return;
  }
  text = text.substr(0, kRecordLimit);
  std::fprintf(logFile.get(), "%02d:%02d:%02d - %.*s\r\n", now.tm_hour, now.tm_min, now.tm_sec,
               static_cast<int>(text.size()), text.data());
  std::fflush(logFile.get());
}

void ResetLogFile() {
  logFile.reset();
  g_bLogToFile = false;
}

}  // namespace velcrum
