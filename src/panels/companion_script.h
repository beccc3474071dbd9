// The companion resource script of a panel: the .rc file beside the panel's program file,
// named as the program with ".rc" for its extension ("/opt/panels/DESK4.EXE" has
// "/opt/panels/DESK4.rc", also found as "DESK4.RC" or any other case).
#pragma once

#include <string>

#include "panels/rc_resources.h"

namespace velcrum {

// The name the companion script has: the module path with everything from the last "."
// of its file name on replaced by ".rc" (a "." in a directory name does not count; a
// file name without "." gets ".rc" appended).
std::string CompanionScriptName(const std::string& modulePath);

// The host path of the existing companion script: the exact name if it exists, else a
// file in the same directory whose name differs only in case. Empty when there is none.
std::string FindCompanionScript(const std::string& modulePath);

// The resources of a parsed script, each of its problems one line on the system debugger.
RcResources ReportedResources(RcScript script);

// The resources of the panel whose program file is `modulePath`, from its companion
// script. Each problem in the script is one line on the system debugger. No companion
// script: no resources, and nothing is said.
RcResources LoadCompanionResources(const std::string& modulePath);

}  // namespace velcrum
