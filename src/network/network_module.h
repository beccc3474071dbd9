// The network link as a module: its reset. Its window messages reach it straight from
// the main window's procedure, and its device commands come with the devices.
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kNetworkModule;

}  // namespace velcrum
