// A start-up log line reaches the system debugger whatever the debug flags say: the
// debugger channel is switched on for that one DebugOut.
#include "runtime/startup_log.h"

#include "interpreter/diagnostics.h"
#include "interpreter/settings.h"
#include "runtime/log_file.h"

namespace velcrum {

void StartupLogLine(std::string_view text) {
  WriteLogLine(text);
  const bool debuggerWasOn = g_settings.enableOutputDbwin;
  g_settings.enableOutputDbwin = true;
  DebugOut(text);
  g_settings.enableOutputDbwin = debuggerWasOn;
}

}  // namespace velcrum
