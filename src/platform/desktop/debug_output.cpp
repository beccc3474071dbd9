// The system-debugger channel: standard error and the attached debug monitors.
#include "platform/desktop/debug_output.h"

#include <unistd.h>

#include <cerrno>
#include <string>

namespace velcrum::platform {

void DeliverToDebugMonitors(std::string_view line);  // debug_monitor.cpp

void OutputDebugString(std::string_view text) {
  if (text.ends_with('\n')) text.remove_suffix(1);
  if (text.ends_with('\r')) text.remove_suffix(1);
  std::string line(text);
  line += '\n';
  std::string_view rest = line;
  while (!rest.empty()) {
    const ssize_t n = write(STDERR_FILENO, rest.data(), rest.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    rest.remove_prefix(static_cast<size_t>(n));
  }
  DeliverToDebugMonitors(text);
}

}  // namespace velcrum::platform
