// The log file: "c:\vornlogs\velcrum.YYYYMMDD.log", one record a line, written while
// LogToFile is on. It is opened once, on first use, in append mode and kept open, so a
// run that passes midnight goes on writing to the file of the day it started.
#pragma once

#include <string_view>

namespace velcrum {

// Whether log lines are written (the LogToFile setting).
extern bool g_bLogToFile;

// Writes "HH:MM:SS - text\r\n" and flushes, while LogToFile is on. A file that cannot
// be opened or written drops the record; the first record dropped is said on the system
// debugger, the others in a row are not. A file that cannot be written is closed, so the
// next record opens it again.
void WriteLogLine(std::string_view text);

// Closes the file and forgets it, so that tests start from a clean state.
void ResetLogFile();

}  // namespace velcrum
