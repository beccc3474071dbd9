// The system-debugger channel: standard error and the attached debug monitors.
#include "platform/desktop/debug_output.h"

#include <string>

#include "platform/standard_error.h"

namespace velcrum::platform {

void DeliverToDebugMonitors(std::string_view line);  // debug_monitor.cpp

void OutputDebugString(std::string_view text) {
  if (text.ends_with('\n')) text.remove_suffix(1);
  if (text.ends_with('\r')) text.remove_suffix(1);
  std::string line(text);
  line += '\n';
  WriteStandardErrorLine(line);
  DeliverToDebugMonitors(text);
}

}  // namespace velcrum::platform
