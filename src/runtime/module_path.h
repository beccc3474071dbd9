// The module path: the running program's file as it was invoked (argv[0] made absolute,
// links not resolved), whose file name names the panel. Start-up records it; SA reads it.
#pragma once

#include <string>

namespace velcrum {

// Empty until start-up sets it; ResetProcessState empties it.
extern std::string g_modulePath;

}  // namespace velcrum
