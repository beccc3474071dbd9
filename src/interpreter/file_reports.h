// The reports of the commands that read and write files: a file that does not open, and
// a file whose contents could not be written.
//
// Each goes to the debug output as it is and, while inspection is on, as a warning about
// the file-name parameter that quotes the command.
#pragma once

#include <string>
#include <string_view>

namespace velcrum {

// "File does not exist: '%s' ": the file could not be opened or created.
void ReportFileNotOpened(std::string_view command, int n, std::string_view commandText,
                         std::string_view fileName);

// "File could not be written: '%s' (%s) " with the system's reason for `error` (an errno
// value): the file opened, but writing, flushing or closing it failed.
void ReportFileNotWritten(std::string_view command, int n, std::string_view commandText,
                          std::string_view fileName, int error);

// Replaces the file a Windows path names with the contents, whole, so that a failed write
// leaves the old file as it was, and reports a failure as above (parameter n names the
// file). Whether the file was written.
bool ReplaceWindowsFileReported(std::string_view command, int n, std::string_view commandText,
                                const std::string& fileName, std::string_view contents);

}  // namespace velcrum
