// The start-up log lines: to the log file (while LogToFile is on) and always to the
// system debugger.
#pragma once

#include <string_view>

namespace velcrum {

void StartupLogLine(std::string_view text);

}  // namespace velcrum
