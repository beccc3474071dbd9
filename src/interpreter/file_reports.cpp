// File reports of the file commands (see file_reports.h).
#include "interpreter/file_reports.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "interpreter/diagnostics.h"
#include "interpreter/format.h"
#include "interpreter/parameter_checks.h"
#include "platform/atomic_file.h"

namespace velcrum {
namespace {

void Report(std::string_view command, int n, std::string_view commandText,
            const std::string& message) {
  DebugOut(message);
  ReportParamWarning(command, n, commandText, message);
}

}  // namespace

void ReportFileNotOpened(std::string_view command, int n, std::string_view commandText,
                         std::string_view fileName) {
  Report(
      command, n, commandText,
      Format("File does not exist: '%.*s' ", static_cast<int>(fileName.size()), fileName.data()));
}

void ReportFileNotWritten(std::string_view command, int n, std::string_view commandText,
                          std::string_view fileName, int error) {
  Report(command, n, commandText,
         Format("File could not be written: '%.*s' (%s) ", static_cast<int>(fileName.size()),
                fileName.data(), std::strerror(error)));
}

bool ReplaceWindowsFileReported(std::string_view command, int n, std::string_view commandText,
                                const std::string& fileName, std::string_view contents) {
  switch (ReplaceWindowsFile(fileName, contents)) {
    case FileWrite::kWritten:
      return true;
    case FileWrite::kNotOpened:
      ReportFileNotOpened(command, n, commandText, fileName);
      return false;
    case FileWrite::kNotWritten:
      ReportFileNotWritten(command, n, commandText, fileName, errno);
      return false;
  }
  return false;
}

}  // namespace velcrum
