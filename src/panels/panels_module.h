// The panels' module: the panel commands and the commands on control texts, the panel
// table's life, and the script timers the main window passes on to the first panel.
#pragma once

#include "runtime/module.h"

namespace velcrum {

extern const Module kPanelsModule;

}  // namespace velcrum
