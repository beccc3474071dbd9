// The life of the process from entry to exit: the single-instance refusal, the main
// window, the initialisation, the STARTUP section, the message loop and the last
// MainCloseDown.
#pragma once

#include <string>

namespace velcrum {

// Runs the program. The module path is the panel's file as invoked (absolute); the command
// tail becomes S$ and S%. Needs the Qt application and an open desktop. Returns the exit
// code: 0 when a copy with the same instance name already runs.
int VelcrumEntry(const std::string& modulePath, const std::string& commandTail);

// KAL_VELCRUM_STARTUP: the delayed start-up, run from the message loop.
void OnDelayedStartup();

}  // namespace velcrum
